#include "tests/ui/loopbackproxy.h"

#include <QHostAddress>
#include <QTcpServer>
#include <QTcpSocket>

// Lives on the proxy's thread; every socket is its child.
class LoopbackProxyWorker : public QObject
{
    Q_OBJECT

public slots:
    quint16 listen(quint16 target)
    {
        m_targetPort = target;
        m_server = new QTcpServer(this);
        connect(m_server, &QTcpServer::newConnection, this, &LoopbackProxyWorker::onNewConnection);
        return m_server->listen(QHostAddress::LocalHost, 0) ? m_server->serverPort() : 0;
    }

    void closePort()
    {
        if (m_server)
            m_server->close();
    }

    // Before the thread ends: the sockets go while their thread runs.
    void shutDown()
    {
        closePort();
        const QList<QTcpSocket *> sockets = findChildren<QTcpSocket *>();
        for (QTcpSocket *socket : sockets) {
            socket->disconnect(this);
            socket->abort();
        }
        qDeleteAll(sockets);
        delete m_server;
        m_server = nullptr;
    }

private slots:
    void onNewConnection()
    {
        while (QTcpSocket *client = m_server->nextPendingConnection()) {
            client->setParent(this);
            auto *upstream = new QTcpSocket(this);
            // Written while connecting, the bytes wait in the socket's buffer.
            upstream->connectToHost(QHostAddress::LocalHost, m_targetPort);
            relay(client, upstream);
            relay(upstream, client);
        }
    }

private:
    void relay(QTcpSocket *from, QTcpSocket *to)
    {
        connect(from, &QTcpSocket::readyRead, to, [from, to] { to->write(from->readAll()); });
        connect(from, &QTcpSocket::disconnected, to, [to] { to->disconnectFromHost(); });
    }

    QTcpServer *m_server = nullptr;
    quint16 m_targetPort = 0;
};

LoopbackProxy::LoopbackProxy()
{
    m_worker = new LoopbackProxyWorker;
    m_worker->moveToThread(&m_thread);
    QObject::connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    m_thread.start();
}

LoopbackProxy::~LoopbackProxy()
{
    QMetaObject::invokeMethod(m_worker, "shutDown", Qt::BlockingQueuedConnection);
    m_thread.quit();
    m_thread.wait();
}

bool LoopbackProxy::start(quint16 targetPort)
{
    QMetaObject::invokeMethod(m_worker, "listen", Qt::BlockingQueuedConnection,
                              Q_RETURN_ARG(quint16, m_port), Q_ARG(quint16, targetPort));
    return m_port != 0;
}

void LoopbackProxy::closePort()
{
    QMetaObject::invokeMethod(m_worker, "closePort", Qt::BlockingQueuedConnection);
}

#include "loopbackproxy.moc"
