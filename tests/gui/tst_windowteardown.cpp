// Every window that listens to the document is destroyed in the middle of an edit: a value
// not yet confirmed is dropped, the destruction changes nothing in the document, and nothing
// runs on the dying window (a Debug or sanitizer build stops on a slot that runs on a
// half-destroyed object).

#include "channels/channelgridview.h"
#include "channels/frmchinfoedit.h"
#include "channels/frmcommchinfo.h"
#include "core/files/datafile.h"
#include "gui/channeltestsupport.h"
#include "settings/frmdtmf.h"
#include "settings/frmkey.h"
#include "settings/frmoptfeatures.h"
#include "settings/frmradioinfo.h"
#include "settings/frmtonetips.h"
#include "support/testmain.h"

#include <QAbstractItemModel>
#include <QTableView>
#include <functional>

class TestWindowTeardown : public QObject {
    Q_OBJECT
    Document doc_;
    ScriptedPrompter prompter_;

    QByteArray snapshot() const { return EncodeDataFile(doc_.RadioData, doc_.CHInfo); }

    void newDoc(int mode) {
        NewDocumentInMode(doc_, mode);
        ProgramRows(
            doc_, 0, 1, 5, mode == 0 ? CbPlanFrequency : [](int r) { return 28.0 + r; });
    }

private slots:
    void initTestCase() {
        UseStagedLanguage(1);
        doc_.setPrompter(&prompter_);
    }

    void channelTableWithACellEditorOpen() {
        newDoc(1);
        const QByteArray before = snapshot();
        auto* t = new frmCommChInfo(doc_);
        showActive(t);
        t->grid()->setFocus();
        t->grid()->setCurrentIndex(t->grid()->model()->index(2, 1));
        typeKeys(QStringLiteral("28.5"));
        QVERIFY(t->grid()->isEditing());
        delete t;
        QCOMPARE(snapshot(), before);
        QVERIFY(prompter_.asked.isEmpty());
    }

    void everyWindowWithATextBeingTyped() {
        const QList<QPair<const char*, std::function<QWidget*()>>> windows = {
            {"FrmCHInfoEdit", [this] { return new FrmCHInfoEdit(doc_); }},
            {"FrmOptFeatures", [this] { return new FrmOptFeatures(doc_); }},
            {"FrmDTMF", [this] { return new FrmDTMF(doc_); }},
            {"FrmKey", [this] { return new FrmKey(doc_); }},
            {"FrmRadioInfo", [this] { return new FrmRadioInfo(doc_); }},
            {"FrmToneTips", [this] { return new FrmToneTips(doc_); }},
        };
        for (int mode : {0, 1}) {
            for (const auto& [name, make] : windows) {
                newDoc(mode);
                QWidget* w = make();
                showActive(w);
                // The first box that takes typing gets a value that is never confirmed.
                for (auto* box : w->findChildren<QLineEdit*>()) {
                    if (!box->isVisible() || !box->isEnabled() || box->isReadOnly()) continue;
                    box->setFocus();
                    QTest::keyClick(box, Qt::Key_End);
                    QTest::keyClick(box, '1');
                    break;
                }
                // A box that stores as the user types (the offset) has stored by now; the
                // destruction itself stores nothing.
                const QByteArray before = snapshot();
                delete w;
                QVERIFY2(snapshot() == before, name);
                QVERIFY2(prompter_.asked.isEmpty(), name);
            }
        }
    }
};

MZ_TEST_MAIN(TestWindowTeardown)
#include "tst_windowteardown.moc"
