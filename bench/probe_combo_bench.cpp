// quillon-probe-combo-bench [colours]   (needs an X display: xvfb-run -a)
// Time for the main window's probe to take a named-colour library of 50,000 colours (or
// the number given): the whole "profile chosen" handler (read, sort, Lab values, combo),
// the combo's part of it alone (one model reset), the same names added one by one for
// comparison, and the first opening of the colour list. Best of 5 runs, milliseconds.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QSurfaceFormat>
#include <QTemporaryDir>
#include <lcms2.h>

#include "ui/NamedColourListModel.h"
#include "ui/ViewerDlg.h"

using namespace quillon;

namespace {

constexpr int kRuns = 5;

bool WriteNamedProfile(const std::string& path, std::uint32_t count)
{
    std::vector<std::uint8_t> element(84 + std::size_t(count) * 38, 0);
    const auto put32 = [&element](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i)
            element[at + std::size_t(i)] = std::uint8_t(v >> (24 - 8 * i));
    };
    std::memcpy(element.data(), "ncl2", 4);
    put32(12, count);
    std::srand(7);
    for (std::uint32_t k = 0; k < count; ++k) {
        const std::size_t at = 84 + std::size_t(k) * 38;
        // Names in no order, as a real library may store them, so the sort has work.
        std::snprintf(reinterpret_cast<char*>(&element[at]), 32, "PANTONE-like %08d C", std::rand());
        for (int c = 0; c < 3; ++c) {
            const int v = std::rand() & 0xFFFF;
            element[at + 32 + 2 * std::size_t(c)] = std::uint8_t(v >> 8);
            element[at + 33 + 2 * std::size_t(c)] = std::uint8_t(v);
        }
    }
    cmsHPROFILE profile = cmsCreateProfilePlaceholder(nullptr);
    cmsSetProfileVersion(profile, 2.4);
    cmsSetDeviceClass(profile, cmsSigNamedColorClass);
    cmsSetColorSpace(profile, cmsSigRgbData);
    cmsSetPCS(profile, cmsSigLabData);
    const bool ok = cmsWriteRawTag(profile, cmsSigNamedColor2Tag, element.data(),
                                   cmsUInt32Number(element.size())) &&
                    cmsSaveProfileToFile(profile, path.c_str());
    cmsCloseProfile(profile);
    return ok;
}

template <typename F> double BestMs(F&& run)
{
    double best = 1e300;
    for (int i = 0; i < kRuns; ++i) {
        QElapsedTimer timer;
        timer.start();
        run();
        best = std::min(best, double(timer.nsecsElapsed()) / 1e6);
    }
    return best;
}

} // namespace

int main(int argc, char** argv)
{
    QSurfaceFormat format;
    format.setProfile(QSurfaceFormat::CompatibilityProfile);
    format.setDepthBufferSize(24);
    QSurfaceFormat::setDefaultFormat(format);
    QApplication app(argc, argv);
    const std::uint32_t count = argc > 1 ? std::uint32_t(std::strtoul(argv[1], nullptr, 10)) : 50000u;

    QTemporaryDir folder;
    const std::string file = folder.filePath(QStringLiteral("library.icc")).toStdString();
    if (!WriteNamedProfile(file, count)) {
        std::fprintf(stderr, "cannot write %s\n", file.c_str());
        return 1;
    }

    ViewerEnvironment env;
    env.applicationFolder = folder.path().toStdString();
    env.services = ColourServices({folder.path().toStdString()});
    CViewerDlg window(env);
    window.show();
    auto* formatCombo = window.findChild<QComboBox*>(QStringLiteral("format"));
    auto* profiles = window.findChild<QComboBox*>(QStringLiteral("ncpProfile"));
    auto* colours = window.findChild<QComboBox*>(QStringLiteral("ncpColour"));
    formatCombo->setCurrentIndex(2);
    emit formatCombo->activated(2);
    QApplication::processEvents();

    const double handler = BestMs([&] {
        profiles->setCurrentIndex(1);
        emit profiles->activated(1);
        QApplication::processEvents();
    });
    if (colours->count() != int(count)) {
        std::fprintf(stderr, "the combo shows %d colours, not %u\n", colours->count(), count);
        return 1;
    }

    std::vector<NamedColour> list(window.Probe().colours);
    std::vector<NamedColour> shown;
    QComboBox modelCombo;
    NamedColourListModel model(shown, &modelCombo);
    modelCombo.setModel(&model);
    const double reset = BestMs([&] {
        {
            NamedColourListModel::Reset r(model);
            shown.clear();
        }
        NamedColourListModel::Reset r(model);
        shown = list;
    });

    QComboBox itemCombo;
    const double oneByOne = BestMs([&] {
        itemCombo.clear();
        for (const NamedColour& colour : list)
            itemCombo.addItem(NamedColourName(colour));
    });

    QElapsedTimer timer;
    timer.start();
    colours->showPopup();
    QApplication::processEvents();
    const double popup = double(timer.nsecsElapsed()) / 1e6;
    colours->hidePopup();

    std::printf("probe combo, %u named colours (best of %d):\n", count, kRuns);
    std::printf("  profile chosen, whole handler (read, sort, Lab, combo, counts): %8.1f ms\n", handler);
    std::printf("  combo fill through the model (one reset):                       %8.1f ms\n", reset);
    std::printf("  the same names by addItem, one by one (for comparison):         %8.1f ms\n", oneByOne);
    std::printf("  first opening of the colour list:                               %8.1f ms\n", popup);
    return 0;
}
