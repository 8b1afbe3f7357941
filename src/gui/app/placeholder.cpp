#include "placeholder.h"
#include "core/app/appstate.h"
#include "core/model/country.h"
#include "core/model/document.h"

#include <QLabel>
#include <QVBoxLayout>

StartupStateView::StartupStateView(const Document& doc, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(App().AppTitle);
    auto* l = new QVBoxLayout(this);
    const AppState& a = App();
    l->addWidget(
        new QLabel(QStringLiteral("%1  %2  %3\nLanguage file: %4\nPort: COM%5\n"
                                  "Channels: %6\nDocument: %7")
                       .arg(doc.ModelName, ModeName(doc.CountryMode), doc.BandText, a.LangFile)
                       .arg(a.ComPort)
                       .arg(doc.chCount())
                       .arg(doc.CurFileName)));
}
