#include "app/programstart.h"

#include "app/loghandler.h"
#include "server/business/serverrun.h"
#include "server/business/workfolderlock.h"

#include <QMessageBox>
#include <QTextCodec>

#include <csignal>
#include <cstdio>

bool ProgramStart::begin()
{
    // The codec first: the refusal's folder name is written with it.
    // Texts the terminals and the checksums read as local 8-bit bytes are
    // the same under any locale.
    QTextCodec::setCodecForLocale(QTextCodec::codecForName("UTF-8"));

    // Before the log handler: its first line would land in the log of the
    // program that holds the folder.
    WorkFolderLock &folder = WorkFolderLock::process();
    const bool owned = folder.take() != WorkFolderLock::State::TakenByAnother;
    if (owned) {
        qInstallMessageHandler(logMessageHandler);
    } else {
        // On standard error, where Qt's own messages of this start go too:
        // no handler is installed.
        std::fprintf(stderr, "orvserver: %s; this one starts nothing\n", qPrintable(folder.holderText()));
        std::fflush(stderr);
    }

    // A terminal that goes away mid-send is handled where the send fails.
    std::signal(SIGPIPE, SIG_IGN);
    // Nothing is drawn with OpenGL, the refusal's box neither: on a display
    // the xcb plugin would still load the machine's GL drivers, which keep
    // and leak memory of their own. An operator's or a check's own setting
    // wins.
    if (!qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION"))
        qputenv("QT_XCB_GL_INTEGRATION", "none");
    // A room's terminals each hold a socket: not the desktop's 1024 only.
    ServerRun::raiseDescriptorLimit();
    return owned;
}

int ProgramStart::refuse(QWidget *parent)
{
    QMessageBox::critical(parent, QStringLiteral("Cảnh báo"), folderTakenText(), QMessageBox::Ok);
    return 1;
}

QString ProgramStart::folderTakenText()
{
    return QStringLiteral("Chương trình đang chạy trong thư mục làm việc này.");
}
