#include "common/ui/ProgramStartup.h"
#include "update/ui/CUpdateDlg.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    app.setApplicationName(QStringLiteral("update"));
    ProgramStartup::enterProgramFolder();
    ProgramStartup::prepareLook(app);
    app.setWindowIcon(QIcon(QStringLiteral(":/update/update.png")));

    OnlineUpdate update(QCoreApplication::applicationDirPath());
    CUpdateDlg window(update);
    QTimer::singleShot(0, &window, &CUpdateDlg::startCheck);
    window.exec();
    return 0;
}
