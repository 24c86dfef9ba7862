#include "lib/report/reportengine.h"

#include "lib/report/datasourcemanager.h"
#include "lib/report/reportrenderer.h"
#include "lib/report/reporttemplate.h"

#include <QDebug>
#include <QFile>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

namespace LimeReport {

namespace {
// High enough that the QR code's modules and small print stay sharp.
const int PDF_RESOLUTION = 300;
} // namespace

ReportEngine::ReportEngine(QObject *parent)
    : QObject(parent), m_template(new ReportTemplate), m_data(new DataSourceManager)
{
}

ReportEngine::~ReportEngine() = default;

bool ReportEngine::loadFromFile(const QString &fileName, bool autoLoadPreviewOnChange)
{
    Q_UNUSED(autoLoadPreviewOnChange)
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        m_data->clear();
        m_template->clear();
        m_fileName.clear();
        m_error = QString("cannot open %1: %2").arg(fileName, file.errorString());
        return false;
    }
    const bool loaded = loadFromByteArray(file.readAll());
    m_fileName = fileName;
    return loaded;
}

bool ReportEngine::loadFromByteArray(const QByteArray &bytes)
{
    m_data->clear();
    m_fileName.clear();
    const bool parsed = m_template->parse(bytes);
    m_error = m_template->errorString();
    if (!parsed)
        qWarning() << "ReportEngine: template not loaded:" << m_error;
    return parsed;
}

QString ReportEngine::lastError() const
{
    return m_error;
}

QString ReportEngine::reportFileName() const
{
    return m_fileName;
}

IDataSourceManager *ReportEngine::dataManager()
{
    return m_data.get();
}

QSizeF ReportEngine::pageSize() const
{
    return m_template->pageSize();
}

void ReportEngine::renderPage(QPainter *painter) const
{
    ReportRenderer(*m_template, *m_data).render(painter);
}

QImage ReportEngine::renderPageToImage(qreal dpi) const
{
    const QSizeF mm = pageSize();
    QImage image(qMax(1, qRound(mm.width() / 25.4 * dpi)), qMax(1, qRound(mm.height() / 25.4 * dpi)),
                 QImage::Format_RGB32);
    image.setDotsPerMeterX(qRound(dpi / 0.0254));
    image.setDotsPerMeterY(qRound(dpi / 0.0254));
    image.fill(Qt::white);
    QPainter painter(&image);
    renderPage(&painter);
    return image;
}

bool ReportEngine::printToPDF(const QString &fileName)
{
    if (fileName.isEmpty())
        return false;
    QPdfWriter writer(fileName);
    writer.setResolution(PDF_RESOLUTION);
    writer.setCreator(QStringLiteral("orvserver"));
    writer.setTitle(m_template->name());
    writer.setPageSize(QPageSize(pageSize(), QPageSize::Millimeter));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter;
    if (!painter.begin(&writer)) {
        qWarning() << "ReportEngine::printToPDF: cannot write" << fileName;
        return false;
    }
    renderPage(&painter);
    return painter.end();
}

} // namespace LimeReport
