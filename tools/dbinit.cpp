// Creates a new, empty family database at the given path; leaves an existing file alone.
#include "data/Database.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QTextStream>

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    const QStringList args = app.arguments();
    // An option is never taken for a file name: "--help" would otherwise become a database.
    if (args.size() != 2 || args.at(1).startsWith(u'-')) {
        const bool help = args.size() == 2 && (args.at(1) == u"--help" || args.at(1) == u"-h");
        const char* usage = "usage: kestrin-dbinit DATABASE-FILE\n";
        if (help) {
            QTextStream(stdout) << usage;
            return 0;
        }
        err << usage;
        return 2;
    }
    const QString path = args.at(1);
    if (QFileInfo::exists(path)) {
        QTextStream(stdout) << "kept existing database " << path << '\n';
        return 0;
    }
    if (Result r = Database::create(path); !r) {
        err << r.error() << '\n';
        return 1;
    }
    QTextStream(stdout) << "created " << path << '\n';
    return 0;
}
