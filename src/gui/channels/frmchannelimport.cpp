#include "frmchannelimport.h"

#include "core/lang/langtext.h"
#include "core/model/country.h"
#include "lang/captions.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

FrmChannelImport::FrmChannelImport(Document& doc, const QByteArray& csv, int group, int row,
                                   QWidget* parent)
    : QDialog(parent), doc_(doc), csv_(csv), group_(group), row_(row) {
    setObjectName(QStringLiteral("FrmChannelImport"));
    setWindowTitle(LoadLangText(14931));

    ComboTarget_ = new QComboBox(this);
    ComboTarget_->setObjectName(QStringLiteral("ComboTarget"));
    ComboTarget_->setAccessibleName(LoadLangText(14931));
    ComboTarget_->addItem(LoadLangText(14932));
    if (group_ >= 0 && GroupSize(group_, doc_.CountryMode) > 0)
        ComboTarget_->addItem(
            LoadLangText(14933).arg(GroupName(group_, doc_.CountryMode)).arg(row_));
    ComboTarget_->setEnabled(ComboTarget_->count() > 1);

    TextReport_ = new QPlainTextEdit(this);
    TextReport_->setObjectName(QStringLiteral("TextReport"));
    TextReport_->setReadOnly(true);
    TextReport_->setAccessibleName(LoadLangText(14931));
    TextReport_->setMinimumSize(640, 300);

    auto* note = new QLabel(LoadLangText(14934), this);
    note->setObjectName(QStringLiteral("Label1"));
    note->setWordWrap(true);

    auto* buttons = OKCancelButtons(this, [this] {
        apply();
        accept();
    });

    auto* l = new QVBoxLayout(this);
    l->addWidget(ComboTarget_);
    l->addWidget(TextReport_, 1);
    l->addWidget(note);
    l->addWidget(buttons);

    connect(ComboTarget_, &QComboBox::currentIndexChanged, this, &FrmChannelImport::runImport);
    runImport();
}

void FrmChannelImport::runImport() {
    // Every try starts again from the document as it is.
    CopyDocumentImage(doc_, copy_);
    ChannelImportOptions options;
    if (ComboTarget_->currentIndex() == 1) {
        options.group = group_;
        options.startRow = row_;
    }
    report_ = ImportChannelsCsv(copy_, csv_, options);
    TextReport_->setPlainText(report_.lines().join(QLatin1Char('\n')));
}

void FrmChannelImport::apply() {
    if (report_.refused()) return;
    AdoptedImage image = doc_.currentImage();
    image.data = copy_.RadioData;
    image.channels = copy_.CHInfo;
    doc_.adoptImage(image);
}
