#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QString>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <vector>

// Every figure sets the suite's side against a baseline measured in the same run. The two sides
// take turns, round by round (the first to go alternates), so that a busy moment of the machine
// falls on both; the figure is the median of the rounds, with the range beside it.

// Milliseconds that work takes once.
// Benchmarks that show widgets draw offscreen unless a platform is asked for, so that they run
// without a display and paint the same way on every machine.
inline void offscreenUnlessAsked()
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
}

inline double timeMs(const std::function<void()>& work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

// Runs the event loop until it has nothing left to do, so that a view's delayed layout and the
// paint it asks for fall inside the time of the work that caused them, not into a later round or
// the other side's time.
inline void settle()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10000);
}

struct Samples
{
    std::vector<double> values;

    double median() const
    {
        if (values.empty())
            return 0;
        std::vector<double> sorted = values;
        std::sort(sorted.begin(), sorted.end());
        const size_t middle = sorted.size() / 2;
        return sorted.size() % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
    }
    double min() const { return values.empty() ? 0 : *std::min_element(values.begin(), values.end()); }
    double max() const { return values.empty() ? 0 : *std::max_element(values.begin(), values.end()); }
};

// One figure: what was measured on each side, round by round.
struct Figure
{
    Figure(QString figureName, QString description, double goalValue)
        : name(std::move(figureName)), what(std::move(description)), goal(goalValue)
    {
    }

    // The stable name under which scripts track the figure.
    QString name;
    // What the line on the screen says.
    QString what;
    // The goal: the highest acceptable median ratio, or, with goalOverBaseline, the most the
    // suite's side may take beyond the baseline, in the figure's unit. A figure without a goal
    // (NoGoal) is printed beside another for comparison only.
    static constexpr double NoGoal = 0;
    double goal = NoGoal;
    bool goalOverBaseline = false;
    // "ms" for times; another unit (such as "kB") for other quantities.
    QString unit = QStringLiteral("ms");
    Samples side;
    Samples baseline;

    void add(double sideValue, double baselineValue)
    {
        side.values.push_back(sideValue);
        baseline.values.push_back(baselineValue);
    }
    Samples ratios() const
    {
        Samples r;
        for (size_t i = 0; i < side.values.size() && i < baseline.values.size(); ++i)
            r.values.push_back(baseline.values[i] > 0 ? side.values[i] / baseline.values[i] : 0);
        return r;
    }
    bool hasGoal() const { return goal != NoGoal || goalOverBaseline; }
    bool met() const
    {
        return goalOverBaseline ? side.median() - baseline.median() <= goal : ratios().median() <= goal;
    }
};

// Runs side and baseline in turn for the given rounds and returns the figure with their times.
inline Figure compare(const QString& name, const QString& what, int rounds, double goal,
                      const std::function<double()>& side, const std::function<double()>& baseline)
{
    Figure figure{name, what, goal};
    for (int round = 0; round < rounds; ++round) {
        double s = 0;
        double b = 0;
        if (round % 2 == 0) {
            s = side();
            b = baseline();
        } else {
            b = baseline();
            s = side();
        }
        figure.add(s, b);
    }
    return figure;
}

// The same, for work whose time is simply how long it runs.
inline Figure compareWork(const QString& name, const QString& what, int rounds, double goal,
                          const std::function<void()>& side, const std::function<void()>& baseline)
{
    return compare(
        name, what, rounds, goal, [&] { return timeMs(side); }, [&] { return timeMs(baseline); });
}

namespace BenchDetail {

inline QString number(double value)
{
    return QString::number(value, 'f', 2);
}

inline QString spread(const Samples& s)
{
    return QLatin1Char('[') + number(s.min()) + QLatin1Char('-') + number(s.max()) + QLatin1Char(']');
}

// One JSON object per line, appended to the file named by KESTRIN_BENCH_JSON (bench/run.sh --json).
inline void appendJson(const Figure& f)
{
    const QString path = qEnvironmentVariable("KESTRIN_BENCH_JSON");
    if (path.isEmpty())
        return;
    QFile file(path);
    if (!file.open(QIODevice::Append | QIODevice::Text))
        return;
    const QString valueKey = f.unit == QStringLiteral("ms") ? QStringLiteral("ms") : f.unit.toLower();
    const Samples ratios = f.ratios();
    QTextStream out(&file);
    out << "{\"name\": \"" << f.name << "\", \"" << valueKey << "\": " << number(f.side.median()) << ", \"baseline_"
        << valueKey << "\": " << number(f.baseline.median())
        << ", \"ratio\": " << QString::number(ratios.median(), 'f', 3) << ", \"range\": ["
        << QString::number(ratios.min(), 'f', 3) << ", " << QString::number(ratios.max(), 'f', 3) << "], \"goal\": ";
    if (f.hasGoal())
        out << f.goal;
    else
        out << "null";
    if (f.goalOverBaseline)
        out << ", \"goal_over_baseline_" << valueKey << "\": true";
    out << ", \"rounds\": " << f.side.values.size() << ", \"met\": "
        << (!f.hasGoal() ? "null"
            : f.met()    ? "true"
                         : "false")
        << "}\n";
}

} // namespace BenchDetail

// Prints the figure: both sides' medians and ranges, the ratio's median and range, and the goal.
inline void report(const Figure& f)
{
    using namespace BenchDetail;
    const Samples ratios = f.ratios();
    QTextStream out(stdout);
    out << f.what << ": " << number(f.side.median()) << ' ' << f.unit << ' ' << spread(f.side) << ", baseline "
        << number(f.baseline.median()) << ' ' << f.unit << ' ' << spread(f.baseline) << ", ratio "
        << number(ratios.median()) << ' ' << spread(ratios) << " over " << f.side.values.size() << " rounds ";
    if (!f.hasGoal()) {
        out << "(for comparison, no goal) [" << f.name << "]" << Qt::endl;
        appendJson(f);
        return;
    }
    out << "(goal ";
    if (f.goalOverBaseline)
        out << "<= " << f.goal << ' ' << f.unit << " beyond the baseline";
    else
        out << "<= " << f.goal;
    out << ") " << (f.met() ? "met" : "NOT MET") << " [" << f.name << "]" << Qt::endl;
    appendJson(f);
}
