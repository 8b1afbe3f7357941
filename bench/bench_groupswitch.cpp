// How long the channel table takes to switch to the 80-row group "DE" (every row programmed)
// and redraw it, and how long the channel edit dialog takes to open. Prints medians of many
// runs in milliseconds.
//
//   build/bench/bench_groupswitch [runs]

#include "channels/frmchinfoedit.h"
#include "channels/frmcommchinfo.h"
#include "core/app/appstate.h"
#include "core/model/country.h"
#include "core/model/document.h"
#include "core/model/helpers.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QTableView>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

void report(const char* what, const std::vector<double>& ms) {
    std::printf("%-44s median %7.3f ms   min %7.3f   max %7.3f   (%zu runs)\n", what, median(ms),
                *std::min_element(ms.begin(), ms.end()), *std::max_element(ms.begin(), ms.end()),
                ms.size());
}
} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    App().ProgramDir = QStringLiteral(MZ_PROGDIR);
    App().UseLanguage(Language::English);

    Document doc;
    doc.SetCountryMode(0);
    doc.NewDocument();
    for (int g = 0; g < 8; ++g)
        for (int r = 1; r <= GroupSize(g, 0); ++r)
            if (doc.FindChannel(FirstCHOfGroup(g, 0) + r) < 0)
                doc.AddChannel(FirstCHOfGroup(g, 0) + r, FormatFre(26.965 + 0.01 * (r % 40)));

    auto* table = new frmCommChInfo(doc);
    table->show();
    QApplication::processEvents();
    auto* plans = table->findChild<QComboBox*>(QStringLiteral("Combo9_0"));
    auto* grid = table->findChild<QTableView*>(QStringLiteral("MSFlexGrid1"));
    auto choose = [&](const QString& name) {
        const int i = plans->findText(name);
        plans->setCurrentIndex(i);
        emit plans->activated(i);
    };

    std::vector<double> switchOnly, switchPaint;
    QElapsedTimer timer;
    for (int i = 0; i < runs; ++i) {
        choose(QStringLiteral("EU"));
        grid->viewport()->repaint();
        timer.start();
        choose(QStringLiteral("DE"));
        switchOnly.push_back(timer.nsecsElapsed() / 1e6);
        grid->viewport()->repaint();
        switchPaint.push_back(timer.nsecsElapsed() / 1e6);
    }
    report("group switch to \"DE\" (80 rows)", switchOnly);
    report("group switch to \"DE\" and redraw", switchPaint);

    std::vector<double> open;
    for (int i = 0; i < std::max(1, runs / 4); ++i) {
        timer.start();
        auto* dialog = new FrmCHInfoEdit(doc);
        dialog->show();
        dialog->repaint();
        open.push_back(timer.nsecsElapsed() / 1e6);
        delete dialog;
    }
    report("open the channel edit dialog and draw it", open);
    delete table;
    return 0;
}
