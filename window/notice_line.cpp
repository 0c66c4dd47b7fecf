#include "notice_line.h"

#include <QAccessible>

namespace {
constexpr int ShownMs = 15000;
}

NoticeLine::NoticeLine(QWidget* window, QRect place) : QLabel(window) {
    setObjectName(QStringLiteral("Notice"));
    setGeometry(place);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setTextFormat(Qt::PlainText);
    expiry_.setSingleShot(true);
    expiry_.setInterval(ShownMs);
    connect(&expiry_, &QTimer::timeout, this, &NoticeLine::clear_notice);
}

void NoticeLine::tell(const QString& text) {
    setText(fontMetrics().elidedText(text, Qt::ElideMiddle, width() - 2 * margin()));
    setAccessibleName(text);
    QAccessibleEvent changed(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&changed);
    expiry_.start();
}

void NoticeLine::clear_notice() {
    clear();
    setAccessibleName({});
}
