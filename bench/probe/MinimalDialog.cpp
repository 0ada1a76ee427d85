// The baseline of the start-up benchmark: a plain Qt Widgets program that shows a dialog with
// one line of Chinese text (any Chinese program pays for loading and drawing a CJK font), run
// modally as the suite's main windows are.
#include <QApplication>
#include <QDialog>
#include <QLabel>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QDialog dialog;
    auto* label = new QLabel(QStringLiteral("禾岚森儿童成长健康管理"), &dialog);
    label->move(20, 20);
    dialog.resize(1000, 740);
    dialog.exec();
    return 0;
}
