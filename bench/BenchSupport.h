#pragma once

#include <QElapsedTimer>
#include <QString>
#include <QTextStream>

#include <algorithm>
#include <functional>
#include <vector>

// Runs work a few times and returns the best time in milliseconds; the best run is the one
// least disturbed by the rest of the machine.
inline double bestOf(int runs, const std::function<void()>& work)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        work();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    return *std::min_element(times.begin(), times.end());
}

inline void report(const QString& what, double ms, double baselineMs, double goal)
{
    QTextStream out(stdout);
    const double ratio = ms / baselineMs;
    out << what << ": " << QString::number(ms, 'f', 2) << " ms, baseline " << QString::number(baselineMs, 'f', 2)
        << " ms, ratio " << QString::number(ratio, 'f', 2) << " (goal <= " << goal << ") "
        << (ratio <= goal ? "met" : "NOT MET") << '\n';
}
