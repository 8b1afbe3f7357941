// Screenshots of the settings windows for the documentation. Runs only when
// MZ_SCREENSHOT_DIR names the folder to write to.

#include "channeltestsupport.h"
#include "core/model/dtmfcodes.h"
#include "settings/frmdtmf.h"
#include "settings/frmkey.h"
#include "settings/frmoptfeatures.h"
#include "settings/frmradioinfo.h"
#include "support/testmain.h"

#include <QDir>
#include <QTabWidget>

class TestSettingsShots : public QObject {
    Q_OBJECT
    QString dir_;

    void save(QWidget* w, const QString& name) {
        w->show();
        w->resize(w->sizeHint());
        QApplication::processEvents();
        QVERIFY(w->grab().save(dir_ + QLatin1Char('/') + name));
    }

    void shoot(int language, const QString& suffix) {
        UseStagedLanguage(language);
        // The options differ by mode (0 has the country plans and fewer rows); the other
        // windows look the same in every mode.
        for (int mode : {0, 1}) {
            Document doc;
            NewDocumentInMode(doc, mode);
            StoreDtmfCode(doc, 1, QStringLiteral("123#"));
            doc.RadioData.Func.WorkGroup = 3;
            FrmOptFeatures opt(doc);
            save(&opt, QStringLiteral("options-mode%1-%2.png").arg(mode).arg(suffix));
        }
        Document doc;
        NewDocumentInMode(doc, 1);
        StoreDtmfCode(doc, 1, QStringLiteral("123#"));
        StoreDtmfCode(doc, 2, QStringLiteral("*9A0"));
        StoreDtmfCode(doc, 5, QStringLiteral("5551234"));
        FrmDTMF dtmf(doc);
        save(&dtmf, QStringLiteral("dtmf-settings-%1.png").arg(suffix));
        dtmf.findChild<QTabWidget*>()->setCurrentIndex(1);
        save(&dtmf, QStringLiteral("dtmf-codes-%1.png").arg(suffix));
        FrmKey keys(doc);
        save(&keys, QStringLiteral("keys-%1.png").arg(suffix));
        doc.RadioInfo.SerialNo = QStringLiteral("SN12345678901234");
        doc.RadioInfo.DealerCode = QStringLiteral("D-0042");
        doc.RadioInfo.Handler = QStringLiteral("Li Wei");
        doc.RadioInfo.RepairNote = QStringLiteral("replaced the antenna socket");
        FrmRadioInfo info(doc);
        save(&info, QStringLiteral("radio-info-%1.png").arg(suffix));
    }

private slots:
    void screenshots() {
        dir_ = qEnvironmentVariable("MZ_SCREENSHOT_DIR");
        if (dir_.isEmpty()) QSKIP("MZ_SCREENSHOT_DIR is not set");
        QDir().mkpath(dir_);
        shoot(1, QStringLiteral("en"));
        shoot(2, QStringLiteral("zh"));
    }
};

MZ_TEST_MAIN(TestSettingsShots)
#include "tst_settingsshots.moc"
