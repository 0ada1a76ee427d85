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

struct Figure
{
    std::vector<double> ms;
    std::vector<double> baselineMs;
};

double timed(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

// Runs both sides in turn, each round preceded by its own preparation (not timed).
Figure interleaved(int rounds, const std::function<void()>& prepare, const std::function<void()>& work,
                   const std::function<void()>& prepareBaseline, const std::function<void()>& baseline)
{
    Figure figure;
    for (int i = 0; i < rounds; ++i) {
        prepareBaseline();
        figure.baselineMs.push_back(timed(baseline));
        prepare();
        figure.ms.push_back(timed(work));
    }
    return figure;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

void print(const char* name, const QString& what, const Figure& f, double goal)
{
    std::vector<double> ratios;
    for (size_t i = 0; i < f.ms.size(); ++i)
        ratios.push_back(f.ms[i] / f.baselineMs[i]);
    const double ratio = median(ratios);
    QTextStream out(stdout);
    out << name << ": " << what << ": " << QString::number(median(f.ms), 'f', 1) << " ms, baseline "
        << QString::number(median(f.baselineMs), 'f', 1) << " ms, ratio " << QString::number(ratio, 'f', 2)
        << " (range " << QString::number(*std::min_element(ratios.begin(), ratios.end()), 'f', 2) << "-"
        << QString::number(*std::max_element(ratios.begin(), ratios.end()), 'f', 2) << ", " << ratios.size()
        << " rounds; goal <= " << goal << ") " << (ratio <= goal ? "met" : "NOT MET") << '\n';
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
        3, emptyCache, [&] { made = thumbnails(cache, files); }, nothing,
        [&] { decoded = decodeAtThumbnailSize(files); });
    if (made != decoded || made == 0) {
        QTextStream(stderr) << "thumbnails " << made << " pixels wide in all, decoded " << decoded << '\n';
        return 1;
    }
    print("thumbnails_cold", QStringLiteral("100 photos of 12 megapixels thumbnailed"), cold, 1.3);

    QStringList pngs;
    for (const QString& file : std::as_const(files))
        pngs << cache.thumbnailPath(file, ThumbnailCache::Size::Normal);
    const Figure cached = interleaved(
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
    print("thumbnails_cached", QStringLiteral("the same 100 thumbnails shown again, from the cache"), cached, 1.5);

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
        15, [&] { source.loader().waitForIdle(); }, [&] { searchAndShow(withThumbnails, thumbnailView); }, nothing,
        [&] { searchAndShow(plain, plainView); });
    source.loader().waitForIdle();
    print("catalogue_search_thumbnails", QStringLiteral("search listing 50,000 files, shown with thumbnails"), search,
          1.1);
    Database::close();
    return 0;
}
