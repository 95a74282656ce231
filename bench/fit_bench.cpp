// SPDX-License-Identifier: MIT
// Times the font fit two ways at three window sizes: trying every size from 2
// up, and the bisecting search the program uses. Both must give the same size;
// the exit status is 1 when they do not.
//
// Output, one line per drawing area:
//   fit 3840x2160: stepping 118.2 ms, search 2.9 ms, ratio 40.8

#include "countdown/font_fit.h"
#include "countdown/font_measurer.h"
#include "countdown/twips.h"

#include <QElapsedTimer>
#include <QFont>
#include <QGuiApplication>
#include <QSize>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace quennix;

namespace {

constexpr double kDpi = 96;
constexpr int kSamples = 9;
// A sample repeats a fit until it has run this long, so that fits of a few
// microseconds are not lost in the timer's resolution.
constexpr double kMinSampleMs = 5;

double msSince(const QElapsedTimer &t) {
    return t.nsecsElapsed() / 1e6;
}

// The median time of one call of `fit`, in milliseconds, over warm runs. The
// first call is not timed: Qt's font cache warms on it, keeping the engines for
// the sizes it measured. The search's couple of dozen sizes then stay cached;
// the stepping measures hundreds, more than the cache keeps, so its warm runs
// cost about what its first one did.
double medianMs(const std::function<int()> &fit) {
    QElapsedTimer t;
    t.start();
    fit();
    const double once = msSince(t);
    const int calls = std::max(1, int(kMinSampleMs / std::max(once, 1e-6)));

    std::vector<double> samples;
    for (int s = 0; s < kSamples; ++s) {
        t.restart();
        for (int c = 0; c < calls; ++c)
            fit();
        samples.push_back(msSince(t) / calls);
    }
    std::nth_element(samples.begin(), samples.begin() + kSamples / 2, samples.end());
    return samples[kSamples / 2];
}

// One decimal as a rule; small times keep three significant digits so that a
// search of a few microseconds does not print as 0.0.
QByteArray msText(double ms) {
    return ms >= 1 ? QByteArray::number(ms, 'f', 1) : QByteArray::number(ms, 'g', 3);
}

} // namespace

int main(int argc, char **argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    // The program's own face when the settings name none.
    QFont face;
    face.setFamily(QStringLiteral("MS Serif"));
    face.setStyleHint(QFont::Serif);
    face.setBold(true);
    const FontMeasurer measurer(face, kDpi, kDpi);
    const FitMeasure m = measurer.fitMeasure();
    const QString shape = countShape(QStringLiteral("-851,234,567"));

    bool agree = true;
    for (const QSize area : {QSize(160, 50), QSize(1920, 1080), QSize(3840, 2160)}) {
        const double sw = pixelsToTwips(area.width(), kDpi);
        const double sh = pixelsToTwips(area.height(), kDpi);
        const int byStepping = fitFontSizeByStepping(sw, sh, shape, m);
        const int bySearch = fitFontSize(sw, sh, shape, m);
        if (byStepping != bySearch) {
            std::fprintf(stderr, "fit %dx%d: stepping gives %d, search gives %d\n", area.width(),
                         area.height(), byStepping, bySearch);
            agree = false;
        }
        const double stepping = medianMs([&] { return fitFontSizeByStepping(sw, sh, shape, m); });
        const double search = medianMs([&] { return fitFontSize(sw, sh, shape, m); });
        std::printf("fit %dx%d: stepping %s ms, search %s ms, ratio %.1f\n", area.width(),
                    area.height(), msText(stepping).constData(), msText(search).constData(),
                    stepping / search);
        std::fflush(stdout);
    }
    return agree ? 0 : 1;
}
