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
