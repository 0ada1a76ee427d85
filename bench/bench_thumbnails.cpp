// Thumbnails of the catalogue: 100 photos of 12 megapixels thumbnailed cold against decoding
// each with QImageReader at thumbnail size; the second showing, from the cache, against
// reading the 100 thumbnail PNGs; and the catalogue search of 50,000 files into a list that
// shows thumbnails, against the same search and list without them. Both sides of each figure
// run in turn over several rounds; the median ratio and the range are printed.
#include "bench/BenchDatabase.h"
#include "bench/BenchSupport.h"
#include "media/MediaFolder.h"
#include "media/ThumbnailCache.h"
#include "media/Thumbnailer.h"
#include "media/ui/ThumbnailSource.h"
#include "reelbox/Catalogue.h"
#include "reelbox/ui/CatalogueListModel.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QHeaderView>
#include <QImageReader>
#include <QImageWriter>
#include <QSqlQuery>
#include <QTableView>
#include <QTemporaryDir>

namespace {

constexpr int Photos = 100;
constexpr int Records = 10000;
constexpr int FilesPerRecord = 5;

// Runs both sides in turn, the first to go alternating, each preceded by its own preparation
// (not timed).
Figure interleaved(const QString& name, const QString& what, double goal, int rounds,
                   const std::function<void()>& prepare, const std::function<void()>& work,
                   const std::function<void()>& prepareBaseline, const std::function<void()>& baseline)
{
    return compare(
        name, what, rounds, goal,
        [&] {
            prepare();
            return timeMs(work);
        },
        [&] {
            prepareBaseline();
            return timeMs(baseline);
        });
}

// A 12-megapixel photo-like picture: smooth light with fine detail, as a camera gives.
QByteArray photo()
{
    QImage image(4000, 3000, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] =
                qRgb((x * 255 / 4000 + (x * y) % 17) & 255, (y * 255 / 3000 + (x ^ y) % 13) & 255, ((x + y) % 251));
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpg");
    writer.setQuality(90);
    writer.write(image);
    return bytes;
}

qsizetype decodeAtThumbnailSize(const QStringList& files)
{
    qsizetype pixels = 0;
    for (const QString& file : files) {
        QImageReader reader(file);
        reader.setAutoTransform(true);
        reader.setScaledSize(reader.size().scaled(128, 128, Qt::KeepAspectRatio));
        pixels += reader.read().width();
    }
    return pixels;
}

qsizetype thumbnails(const ThumbnailCache& cache, const QStringList& files)
{
    qsizetype pixels = 0;
    for (const QString& file : files)
        pixels += Thumbnailer::thumbnail(cache, file, ThumbnailCache::Size::Normal).width();
    return pixels;
}

// The search as the window runs it: the rows into the list, and the list painted once.
void searchAndShow(CatalogueListModel& model, QTableView& view)
{
    ResultOf<CatalogueResult> found = Catalogue::search({{}, {}, {}, {}, QStringLiteral("图像文件")});
    model.setRows(std::move(found->rows));
    (void)view.viewport()->grab();
}

} // namespace

int main(int argc, char* argv[])
{
    QTemporaryDir dir;
    // Thumbnails go to a cache of the benchmark's own.
    qputenv("XDG_CACHE_HOME", dir.filePath(QStringLiteral("cache")).toUtf8());
    QApplication app(argc, argv);
    MediaFolder::setInstallationRoot(dir.path());
    (void)MediaFolder::ensureExists();

    // Photos.
    const QByteArray jpeg = photo();
    QStringList files;
    for (int i = 0; i < Photos; ++i) {
        const QString file = dir.filePath(QStringLiteral("photo%1.jpg").arg(i));
        QFile out(file);
        if (!out.open(QIODevice::WriteOnly) || out.write(jpeg) != jpeg.size())
            return 1;
        files << file;
    }
    const ThumbnailCache cache;
    const auto emptyCache = [&cache] { QDir(cache.root()).removeRecursively(); };
    const auto nothing = [] {};
    qsizetype made = 0;
    qsizetype decoded = 0;
    const Figure cold = interleaved(
        QStringLiteral("thumbnails_cold"), QStringLiteral("100 photos of 12 megapixels thumbnailed"), 1.3, 3,
        emptyCache, [&] { made = thumbnails(cache, files); }, nothing, [&] { decoded = decodeAtThumbnailSize(files); });
    if (made != decoded || made == 0) {
        QTextStream(stderr) << "thumbnails " << made << " pixels wide in all, decoded " << decoded << '\n';
        return 1;
    }
    report(cold);

    QStringList pngs;
    for (const QString& file : std::as_const(files))
        pngs << cache.thumbnailPath(file, ThumbnailCache::Size::Normal);
    const Figure cached = interleaved(
        QStringLiteral("thumbnails_cached"), QStringLiteral("the same 100 thumbnails shown again, from the cache"), 1.5,
        11, nothing, [&] { made = thumbnails(cache, files); }, nothing,
        [&] {
            decoded = 0;
            for (const QString& png : std::as_const(pngs))
                decoded += QImage(png).width();
        });
    if (made != decoded) {
        QTextStream(stderr) << "cached thumbnails " << made << " pixels wide in all, PNGs " << decoded << '\n';
        return 1;
    }
    report(cached);

    // The catalogue: 50,000 files in a list as tall as the window's.
    if (openBenchDatabase(dir).isEmpty())
        return 1;
    fillCatalogue(Records, FilesPerRecord);
    CatalogueListModel plain;
    CatalogueListModel withThumbnails;
    ThumbnailSource& source = ThumbnailSource::shared();
    withThumbnails.setThumbnails(&source, 32);
    QTableView plainView;
    QTableView thumbnailView;
    for (QTableView* view : {&plainView, &thumbnailView}) {
        view->setModel(view == &plainView ? static_cast<QAbstractItemModel*>(&plain) : &withThumbnails);
        view->setIconSize({32, 24});
        view->verticalHeader()->setDefaultSectionSize(28);
        view->resize(340, 520);
        view->show();
    }
    // The files of the rows on screen exist, with their thumbnails made once, as after a first look.
    searchAndShow(withThumbnails, thumbnailView);
    for (int row = 0; row < 40; ++row) {
        const QString path = MediaFolder::filePath(withThumbnails.row(row).name);
        QImage small(640, 480, QImage::Format_RGB32);
        small.fill(QColor::fromHsv(row * 9, 200, 200));
        small.save(path, "jpg");
    }
    searchAndShow(withThumbnails, thumbnailView);
    source.loader().waitForIdle();
    const Figure search = interleaved(
        QStringLiteral("catalogue_search_thumbnails"),
        QStringLiteral("search listing 50,000 files, shown with thumbnails"), 1.1, 15,
        [&] { source.loader().waitForIdle(); }, [&] { searchAndShow(withThumbnails, thumbnailView); }, nothing,
        [&] { searchAndShow(plain, plainView); });
    source.loader().waitForIdle();
    report(search);
    Database::close();
    return 0;
}
