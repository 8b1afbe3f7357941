#include "frmsplash.h"

#include "core/app/appstate.h"
#include "core/lang/languages.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

frmSplash::frmSplash(std::function<void()> openMain, QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint), openMain_(std::move(openMain)) {
    setObjectName(QStringLiteral("frmSplash"));
    setAttribute(Qt::WA_DeleteOnClose);
    picLogo_ = new QLabel(this);
    picLogo_->setObjectName(QStringLiteral("picLogo"));
    picLogo_->setAlignment(Qt::AlignCenter);
    picLogo_->installEventFilter(this);
    auto* l = new QVBoxLayout(this);
    l->setContentsMargins(0, 0, 0, 0);
    l->addWidget(picLogo_);

    // A missing or unreadable picture leaves the box empty; the timer still runs.
    // A language beyond the first two shows the English picture, Chinese the Chinese one.
    const Language shown = App().CurLanguage != Language::Other         ? App().CurLanguage
                           : CurrentLangLocale() == QLatin1String("zh") ? Language::Chinese
                                                                        : Language::English;
    const QString file = pictureFor(shown);
    QPixmap pic;
    if (!file.isEmpty() && pic.load(App().ProgramDir + QLatin1Char('/') + file))
        picLogo_->setPixmap(pic);
    resize(pic.isNull() ? QSize(480, 300) : pic.size());
    if (QScreen* s = QGuiApplication::primaryScreen())
        move(s->availableGeometry().center() - rect().center());

    Timer1_ = new QTimer(this);
    Timer1_->setObjectName(QStringLiteral("Timer1"));
    Timer1_->setSingleShot(true);
    Timer1_->setInterval(2000);
    connect(Timer1_, &QTimer::timeout, this, &frmSplash::finish);
    Timer1_->start();
}

QString frmSplash::pictureFor(Language language) {
    if (language == Language::English) return QStringLiteral("StartE.jpg");
    if (language == Language::Chinese) return QStringLiteral("StartC.jpg");
    return QString();
}

bool frmSplash::eventFilter(QObject* watched, QEvent* e) {
    if (watched == picLogo_ && e->type() == QEvent::MouseButtonPress) {
        finish();
        return true;
    }
    return QWidget::eventFilter(watched, e);
}

void frmSplash::mousePressEvent(QMouseEvent*) {
    finish();
}

void frmSplash::finish() {
    if (done_) return;
    done_ = true;
    Timer1_->stop();
    if (openMain_) openMain_();
    close();
}
