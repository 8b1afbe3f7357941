// Screenshots of the channel windows for the documentation. Runs only when
// MZ_SCREENSHOT_DIR names the folder to write to.

#include "channels/channeleditstate.h"
#include "channels/channelgridview.h"
#include "channels/channeltablemodel.h"
#include "channels/frmchinfoedit.h"
#include "channels/frmcommchinfo.h"
#include "channeltestsupport.h"
#include "core/files/datafile.h"
#include "support/testmain.h"

#include <QApplication>
#include <QDir>
#include <QTest>

class TestChannelShots : public QObject {
    Q_OBJECT
    QString dir_;

    void save(QWidget* w, const QString& name) {
        w->show();
        QApplication::processEvents();
        QVERIFY(w->grab().save(dir_ + QLatin1Char('/') + name));
    }

    void shoot(int language, const QString& suffix) {
        UseStagedLanguage(language);
        for (int mode : {0, 1}) {
            Document doc;
            NewDocumentInMode(doc, mode);
            if (mode == 0) {
                ProgramRows(doc, 0, 1, 40);
            } else {
                ProgramRows(doc, 0, 2, 12, [](int r) { return 28.0 + 0.01 * r; });
                doc.SetCHValue(0, 3, FldPublic, 0);
                doc.SetCHValue(0, 3, FldDUP, 1);
                doc.SetCHValue(0, 5, FldTSQ, 1);
                doc.SetCHValue(0, 7, FldScan, 0);
            }
            frmCommChInfo table(doc);
            table.grid()->setCurrentIndex(table.tableModel()->index(2, 2));
            save(&table, QStringLiteral("channel-table-mode%1-%2.png").arg(mode).arg(suffix));
            if (mode == 1) {
                doc.SetCHValue(0, 3, FldRDCT, 12);
                doc.SetCHValue(0, 3, FldTDCT, 45);
                doc.SetCHValue(0, 3, FldTx_Power, 2);
                doc.SetCHValue(0, 3, FldRBTone, QStringLiteral("2"));
                ChannelEditState::of(doc).CurCH = 3;
            }
            FrmCHInfoEdit edit(doc);
            save(&edit, QStringLiteral("channel-edit-mode%1-%2.png").arg(mode).arg(suffix));
        }
    }

    // A new CB document from the shipped plans, one shot per plan.
    void shootPlans() {
        UseStagedLanguage(1);
        Document doc;
        NewDocumentInMode(doc, 0);
        QVERIFY(LoadDataFile(doc, QStringLiteral(MZ_PROGDIR "/Init/MZ-710_0_NEW.dat")));
        struct Shot {
            int group;
            int row; // the row the table shows
            const char* name;
        };
        for (const Shot& s : {Shot{0, 20, "EU"}, Shot{6, 38, "DE"}, Shot{3, 1, "UK"}}) {
            doc.RadioData.Func.GroupSel = static_cast<i16>(s.group);
            frmCommChInfo table(doc);
            table.resize(table.width(), 560);
            table.show();
            QApplication::processEvents();
            const QModelIndex at = table.tableModel()->index(s.row - 1, 1);
            table.grid()->setCurrentIndex(at);
            table.grid()->scrollTo(at, QAbstractItemView::PositionAtTop);
            save(&table, QStringLiteral("channel-plan-%1-en.png").arg(QLatin1String(s.name)));
        }
    }

private slots:
    void screenshots() {
        dir_ = qEnvironmentVariable("MZ_SCREENSHOT_DIR");
        if (dir_.isEmpty()) QSKIP("MZ_SCREENSHOT_DIR is not set");
        QDir().mkpath(dir_);
        shoot(1, QStringLiteral("en"));
        shoot(2, QStringLiteral("zh"));
        shootPlans();
    }
};

MZ_TEST_MAIN(TestChannelShots)
#include "tst_channelshots.moc"
