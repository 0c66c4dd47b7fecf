#include "control_values.h"
#include "cp1252.h"
#include "frm_ZEL.h"
#include "shown_text.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>

namespace {

// Far longer than any word, far shorter than a line that takes a box noticeable time to break.
constexpr qsizetype UnbrokenRunLimit = 500;

// A multi-line box shows every line end of a text (CR LF, or a lone CR or LF) as a line break.
QString as_shown_lines(const QString& text) {
    QString lines = text;
    lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    lines.replace(u'\r', u'\n');
    return lines;
}

// The raw text keeps no-break spaces, which toPlainText would turn into blanks.
QString shown_lines(const QPlainTextEdit* box) {
    QString lines = box->document()->toRawText();
    lines.replace(QChar::ParagraphSeparator, u'\n');
    lines.replace(QChar::LineSeparator, u'\n');
    return lines;
}

// A cut text cannot be edited: what the user typed into it would replace the whole text.
void show_in_box(QWidget* box, const ShownText& shown, qsizetype length) {
    box->setToolTip(shown.cut ? cut_text_note(length) : QString());
    if (auto* lines = qobject_cast<QPlainTextEdit*>(box)) {
        lines->setReadOnly(shown.cut);
        // Looking for a word's end along a long unbroken line would take the box seconds.
        lines->setWordWrapMode(has_unbroken_run(shown.text, UnbrokenRunLimit)
                                   ? QTextOption::WrapAnywhere
                                   : QTextOption::WrapAtWordBoundaryOrAnywhere);
        lines->setPlainText(as_shown_lines(shown.text));
        return;
    }
    // A line edit leaves a new text scrolled to its end; it is read from the start.
    auto* line = static_cast<QLineEdit*>(box);
    line->setReadOnly(shown.cut);
    line->setText(shown.text);
    line->setCursorPosition(0);
}

} // namespace

QString frm_ZEL::text1(int s) const {
    if (s < 0 || s >= TextSlotCount) return {};
    // A box that shows a cut text cannot be edited, so it still holds what it was given.
    if (shown_cut_[std::size_t(s)]) {
        const std::string& bytes = cut_bytes_[std::size_t(s)];
        return bytes.empty() ? given_text_[std::size_t(s)] : from_cp1252(bytes);
    }
    if (const auto* box = qobject_cast<const QPlainTextEdit*>(Text1[std::size_t(s)])) {
        const QString lines = shown_lines(box);
        if (lines == as_shown_lines(given_text_[std::size_t(s)])) {
            return given_text_[std::size_t(s)];
        }
        return QString(lines).replace(u'\n', QStringLiteral("\r\n"));
    }
    // A single-line box keeps any line ends of its text as they are (showing them as blanks).
    return static_cast<const QLineEdit*>(Text1[std::size_t(s)])->text();
}

void frm_ZEL::set_text1(int s, const QString& text) {
    if (s < 0 || s >= TextSlotCount) return;
    const ShownText shown = text_to_show(text);
    shown_cut_[std::size_t(s)] = shown.cut;
    cut_bytes_[std::size_t(s)].clear();
    const bool multi_line = qobject_cast<QPlainTextEdit*>(Text1[std::size_t(s)]) != nullptr;
    given_text_[std::size_t(s)] = multi_line || shown.cut ? text : QString();
    show_in_box(Text1[std::size_t(s)], shown, text.size());
}

void frm_ZEL::show_stored_text(int s, std::string_view bytes) {
    if (qsizetype(bytes.size()) <= BoxTextLimit) {
        set_text1(s, from_cp1252(bytes));
        return;
    }
    // Windows-1252 has one byte per character: only what the box shows is decoded now, the
    // whole text when it is read back.
    const QString start = from_cp1252(bytes.substr(0, std::size_t(BoxTextLimit) + 1));
    shown_cut_[std::size_t(s)] = true;
    cut_bytes_[std::size_t(s)] = std::string(bytes);
    given_text_[std::size_t(s)] = QString();
    show_in_box(Text1[std::size_t(s)], text_to_show(start, BoxTextLimit, qsizetype(bytes.size())),
                qsizetype(bytes.size()));
}

void frm_ZEL::show_record() {
    // Every move of CurrentEntry stays inside the table; this guards a table never loaded.
    if (!holds_row(table, table.CurrentEntry)) return;
    const auto e = std::size_t(table.CurrentEntry);

    // A salutation the buttons cannot show leaves none chosen; the table keeps it.
    const std::int16_t salutation = table.Salutation[e];
    if (salutation >= 0 && salutation < std::int16_t(Opt_Mr_Mrs.size())) {
        Opt_Mr_Mrs[std::size_t(salutation)]->setChecked(true);
    } else {
        for (QRadioButton* button : Opt_Mr_Mrs) unchoose(button);
    }

    for (std::size_t t = 0; t < chk_titel.size(); ++t)
        show_flag(chk_titel[t], table.TitleFlags[e][t]);
    for (std::size_t k = 0; k < Chk_organ.size(); ++k) {
        show_flag(Chk_organ[k], table.OrganizationFlags[e][k]);
    }
    for (int s = 0; s < TextSlotCount; ++s)
        show_stored_text(s, table.text(int(e), s));
    for (std::size_t k = 0; k < Chh_equipm.size(); ++k) {
        show_flag(Chh_equipm[k], table.EquipmentFlags[e][k]);
    }

    unchoose(Option1[0]);
    unchoose(Option1[1]);
    const std::int16_t collaboration = table.EquipmentFlags[e][CollaborationFlag];
    if (collaboration == 1) Option1[0]->setChecked(true);
    if (collaboration == 2) Option1[1]->setChecked(true);
    mark_entry_shown();
    announce_shown_entry();
}

void frm_ZEL::clear_all() {
    for (QRadioButton* button : Opt_Mr_Mrs) unchoose(button);
    for (QCheckBox* box : chk_titel) show_flag(box, 0);
    for (QCheckBox* box : Chk_organ) show_flag(box, 0);
    // The two caption-less boxes and the polished-sections statement keep their ticks.
    for (std::size_t k = 0; k < NamedEquipmentKinds; ++k) show_flag(Chh_equipm[k], 0);
    unchoose(Option1[0]);
    unchoose(Option1[1]);
    for (int s = 0; s < TextSlotCount; ++s) set_text1(s, QString());
}
