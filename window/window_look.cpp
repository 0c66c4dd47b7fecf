#include "window_look.h"

#include <QApplication>
#include <QFont>
#include <QProxyStyle>

namespace {

// The layout gives a check box's caption about 17 pixels from the box's left edge; with
// the usual spacing several captions ("Geol.Survey", "Cathodolum Microsc.") lose letters.
class CompactIndicatorStyle : public QProxyStyle {
  public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option,
                    const QWidget* widget) const override {
        if (metric == PM_CheckBoxLabelSpacing || metric == PM_RadioButtonLabelSpacing) return 3;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

} // namespace

void use_window_look() {
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Times New Roman"),
                              QStringLiteral("Liberation Serif"));
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(8.25);
    QApplication::setFont(font);
    QApplication::setStyle(new CompactIndicatorStyle);
}

QPalette window_palette(const QColor& window) {
    // Qt's own light colours, the ones a start without a desktop theme gets.
    const QColor face(239, 239, 239);
    const QColor dark = face.darker(150);
    const QColor mid = face.darker(130);
    QPalette palette(Qt::black, face, face.lighter(150), dark, mid, Qt::black, Qt::white, Qt::white,
                     window);
    palette.setColor(QPalette::Midlight, mid.lighter(110));
    palette.setColor(QPalette::Shadow, dark.darker(135));
    palette.setColor(QPalette::Highlight, QColor(48, 140, 198));
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::PlaceholderText, QColor(0, 0, 0, 128));
    for (const auto role : {QPalette::WindowText, QPalette::Text, QPalette::ButtonText})
        palette.setColor(QPalette::Disabled, role, QColor(190, 190, 190));
    return palette;
}
