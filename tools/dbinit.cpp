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
    if (args.size() != 2) {
        err << "usage: kestrin-dbinit DATABASE-FILE\n";
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
