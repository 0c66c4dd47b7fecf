#include "correction_import.h"

#include "correction_file.h"
#include "cp1252.h"
#include "entry_fields.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

namespace {

// Far more than any correction file: 83 short lines and what the boxes hold.
constexpr qint64 MaxCorrectionFileSize = qint64(1) << 20;

const QString Unchanged = QStringLiteral(" The window was not changed.");

// What is wrong and where, as the end of a sentence that names the file.
struct Refusal {
    QString what;
    bool not_correction_file = false;
};

// The controls behind the file's yes/no lines.
enum class Group { Salutation, Title, Organization, Equipment, Collaboration };
constexpr int GroupCount = 5;

struct YesNo {
    Group group;
    int index;            // within its group
    Qt::CheckState state; // an option button is Checked when chosen
    QString name;         // how the message after an import names it
};

bool is_option(Group group) {
    return group == Group::Salutation || group == Group::Collaboration;
}

Qt::CheckState checked(bool yes) {
    return yes ? Qt::Checked : Qt::Unchecked;
}

// In the order of the file's yes/no lines.
std::vector<YesNo> yes_no_controls(const CorrectionSnapshot& w) {
    std::vector<YesNo> all;
    for (int i = 0; i < int(w.Opt_Mr_Mrs.size()); ++i)
        all.push_back({Group::Salutation, i, checked(w.Opt_Mr_Mrs[i].chosen), {}});
    for (int i = 0; i < int(w.chk_titel.size()); ++i)
        all.push_back({Group::Title, i, w.chk_titel[i].state, w.chk_titel[i].caption});
    for (int i = 0; i < int(w.Chk_organ.size()); ++i)
        all.push_back({Group::Organization, i, w.Chk_organ[i].state, w.Chk_organ[i].caption});
    // Boxes without a caption, and the long polished-sections statement, go by a short name.
    for (int i = 0; i < int(w.Chh_equipm.size()); ++i) {
        const char* name = EquipmentFields[std::size_t(i)].name;
        all.push_back({Group::Equipment, i, w.Chh_equipm[i].state,
                       *name ? QString::fromUtf8(name) : w.Chh_equipm[i].caption});
    }
    for (int i = 0; i < int(w.Option1.size()); ++i)
        all.push_back({Group::Collaboration, i, checked(w.Option1[i]), {}});
    return all;
}

void set_yes_no(CorrectionSnapshot& w, const YesNo& control, bool yes) {
    const auto i = std::size_t(control.index);
    switch (control.group) {
    case Group::Salutation:
        w.Opt_Mr_Mrs[i].chosen = yes;
        break;
    case Group::Title:
        w.chk_titel[i].state = checked(yes);
        break;
    case Group::Organization:
        w.Chk_organ[i].state = checked(yes);
        break;
    case Group::Equipment:
        w.Chh_equipm[i].state = checked(yes);
        break;
    case Group::Collaboration:
        w.Option1[i] = yes;
        break;
    }
}

// One line as correction_text writes it for the window's captions.
struct LayoutLine {
    enum Kind { Fixed, YesNoLine, Value } kind;
    QString text; // the whole line, or what stands before "yes"/"no" or the value
    int target;   // the yes/no control, or the text slot of the value
};

// Private-use characters, one per text slot: no caption holds them.
constexpr char16_t FirstMarker = u'\uE000';

// The file's lines, taken from correction_text itself so that reader and writer cannot part:
// a window with every box ticked and a marker in each text box shows which line is which.
std::vector<LayoutLine> file_layout(const CorrectionSnapshot& window) {
    CorrectionSnapshot probe = window;
    const std::vector<YesNo> controls = yes_no_controls(window);
    for (const YesNo& control : controls) set_yes_no(probe, control, true);
    for (int s = 0; s < TextSlotCount; ++s) probe.Text1[std::size_t(s)] = QChar(FirstMarker + s);

    QStringList lines = correction_text(probe).split(QStringLiteral("\r\n"));
    lines.removeLast();
    std::vector<LayoutLine> layout;
    int yes_no = 0;
    for (const QString& line : lines) {
        // A value always ends its line.
        const int slot = line.isEmpty() ? -1 : line.back().unicode() - FirstMarker;
        if (slot >= 0 && slot < TextSlotCount)
            layout.push_back({LayoutLine::Value, line.chopped(1), slot});
        else if (line.endsWith(QStringLiteral(":  yes")))
            layout.push_back({LayoutLine::YesNoLine, line.chopped(3), yes_no++});
        else
            layout.push_back({LayoutLine::Fixed, line, -1});
    }
    Q_ASSERT(yes_no == int(controls.size()));
    return layout;
}

FollowingLine as_following(const LayoutLine& line) {
    return {line.text, line.kind == LayoutLine::Value};
}

bool matches(const LayoutLine& want, const QString& line) {
    if (want.kind != LayoutLine::YesNoLine) return reads_as(line, as_following(want));
    return line == want.text + QStringLiteral("yes") || line == want.text + QStringLiteral("no");
}

QString quoted(const QString& text) {
    return u'"' + text + u'"';
}

// A line of the file as a message shows it: on one line, and short enough to read.
QString quoted_line(QString line) {
    constexpr qsizetype Longest = 80;
    const bool cut = line.size() > Longest;
    line.truncate(Longest);
    for (QChar& c : line)
        if (c.category() == QChar::Other_Control) c = u' ';
    return quoted(line + (cut ? QStringLiteral("\u2026") : QString()));
}

QString what_belongs(const LayoutLine& want) {
    switch (want.kind) {
    case LayoutLine::Fixed:
        return want.text.isEmpty() ? QStringLiteral("should be empty")
                                   : QStringLiteral("should read ") + quoted(want.text);
    case LayoutLine::YesNoLine:
        return QStringLiteral("should read %1 or %2")
            .arg(quoted(want.text + QStringLiteral("yes")),
                 quoted(want.text + QStringLiteral("no")));
    case LayoutLine::Value:
        return want.text.isEmpty() ? QStringLiteral("should hold the ") +
                                         QString::fromStdString(text_slot_caption(want.target))
                                   : QStringLiteral("should begin with ") + quoted(want.text);
    }
    return {};
}

// The text of the file, as lines without their line ends.
QStringList file_lines(const QByteArray& bytes) {
    QString text;
    if (bytes.startsWith("\xEF\xBB\xBF")) {
        QStringDecoder utf8(QStringDecoder::Utf8);
        text = utf8.decode(bytes); // drops the byte-order mark
        if (utf8.hasError()) {
            const qsizetype bad = text.indexOf(QChar::ReplacementCharacter);
            throw Refusal{QStringLiteral("begins as UTF-8, but line %1 holds bytes that are not "
                                         "UTF-8.")
                              .arg(text.left(bad).count(u'\n') + 1)};
        }
    } else if (reads_as_utf8(bytes)) {
        text = QString::fromUtf8(bytes);
    } else {
        text = from_cp1252(std::string_view(bytes.constData(), std::size_t(bytes.size())));
    }
    // The first line holds no text of a box, so its end tells how the file ends its lines:
    // CR LF as written, LF or CR alone after a mail program or an editor. Only that splits
    // lines, so a lone CR or LF inside a text stays in it.
    QString line_end = QStringLiteral("\r\n");
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n') line_end = QStringLiteral("\n");
        else if (text[i] != u'\r') continue;
        else if (i + 1 == text.size() || text[i + 1] != u'\n') line_end = QStringLiteral("\r");
        break;
    }
    QStringList lines = text.split(line_end);
    // The last line end closes the file; a file without it has lost no line.
    if (lines.back().isEmpty()) lines.removeLast();
    return lines;
}

// Reads the lines of a correction file against the layout that correction_text writes for the
// window's captions.
class CorrectionFileParser {
  public:
    CorrectionFileParser(QStringList lines, const CorrectionSnapshot& window)
        : lines_(std::move(lines)), layout_(file_layout(window)),
          controls_(yes_no_controls(window)), filled_(window) {
        first_yes_.fill(-1);
    }

    CorrectionSnapshot parse() {
        if (lines_.isEmpty())
            throw Refusal{QStringLiteral("is not a correction file: it is empty."), true};
        qsizetype at = 0;
        for (std::size_t k = 0; k < layout_.size(); ++k) {
            const LayoutLine& want = layout_[k];
            // Files of earlier versions end with the remarks.
            if (at == lines_.size() && k + 1 == layout_.size() && remarks_ran_to_end_) break;
            if (at == lines_.size()) cut_short(k);
            if (!matches(want, lines_[at])) out_of_place(at, k);
            if (want.kind == LayoutLine::Value) {
                at = read_value(at, k);
                continue;
            }
            if (want.kind == LayoutLine::YesNoLine) read_yes_no(at, want);
            ++at;
        }
        for (; at < lines_.size(); ++at)
            if (!lines_[at].trimmed().isEmpty())
                throw Refusal{QStringLiteral("has text after its last line %1: line %2 reads %3. "
                                             "Remarks belong above it, under \"Remarks\".")
                                  .arg(quoted(layout_.back().text), QString::number(at + 1),
                                       quoted_line(lines_[at]))};
        return filled_;
    }

  private:
    [[noreturn]] void out_of_place(qsizetype at, std::size_t k) const {
        const QString where =
            QStringLiteral("line %1 %2, not %3.")
                .arg(QString::number(at + 1), what_belongs(layout_[k]), quoted_line(lines_[at]));
        if (at == 0) throw Refusal{QStringLiteral("is not a correction file: ") + where, true};
        throw Refusal{QStringLiteral("has a line out of place: ") + where};
    }

    [[noreturn]] void cut_short(std::size_t k) const {
        throw Refusal{QStringLiteral("is cut short: it ends after line %1, where line %2 %3.")
                          .arg(QString::number(lines_.size()), QString::number(lines_.size() + 1),
                               what_belongs(layout_[k]))};
    }

    void read_yes_no(qsizetype at, const LayoutLine& want) {
        const bool yes = lines_[at].endsWith(u"yes");
        const YesNo& control = controls_[std::size_t(want.target)];
        if (yes && is_option(control.group)) {
            qsizetype& earlier = first_yes_[std::size_t(control.group)];
            if (earlier >= 0)
                throw Refusal{QStringLiteral("contradicts itself: line %1 reads %2, but line %3 "
                                             "already reads %4, and only one can be chosen.")
                                  .arg(QString::number(at + 1), quoted_line(lines_[at]),
                                       QString::number(earlier + 1), quoted_line(lines_[earlier]))};
            earlier = at;
        }
        set_yes_no(filled_, control, yes);
    }

    // The offset of the first line from `at` on that does not read as the layout from `k` on,
    // up to and including its next line of a value or a yes/no; none when they all do.
    std::optional<qsizetype> mismatch(qsizetype at, std::size_t k) const {
        for (qsizetype n = 0; k + std::size_t(n) < layout_.size(); ++n) {
            const LayoutLine& want = layout_[k + std::size_t(n)];
            if (at + n >= lines_.size() || !matches(want, lines_[at + n])) return n;
            if (want.kind != LayoutLine::Fixed) break;
        }
        return std::nullopt;
    }

    // A value runs on up to the line where the lines that follow it begin, so a line break
    // inside any box comes back. Gives the line after the value.
    qsizetype read_value(qsizetype at, std::size_t k) {
        const LayoutLine& want = layout_[k];
        qsizetype end = at + 1;
        while (end < lines_.size() && mismatch(end, k + 1)) ++end;
        if (end == lines_.size()) {
            if (k + 2 == layout_.size()) {
                // Only the end line should follow: a file of an earlier version, without it.
                remarks_ran_to_end_ = true;
            } else {
                // Nothing ever follows the value: blame the first line where that goes wrong.
                const qsizetype n = *mismatch(at + 1, k + 1);
                if (at + 1 + n >= lines_.size()) cut_short(k + 1 + std::size_t(n));
                out_of_place(at + 1 + n, k + 1 + std::size_t(n));
            }
        }

        QStringList parts = lines_.mid(at, end - at);
        parts.front().remove(0, want.text.size());
        // A text the directory cannot store comes back as it stands: the window marks it, and
        // Store refuses it until it is mended.
        filled_.Text1[std::size_t(want.target)] = unescaped_value(
            parts.join(QStringLiteral("\r\n")), want.target, as_following(layout_[k + 1]));
        return end;
    }

    QStringList lines_;
    std::vector<LayoutLine> layout_;
    std::vector<YesNo> controls_;
    CorrectionSnapshot filled_;
    std::array<qsizetype, GroupCount> first_yes_{}; // the line that chose an option, by group
    bool remarks_ran_to_end_ = false;
};

CorrectionImport refused(const QString& sentence, const QString& file_name) {
    return {Result::failure(sentence + Unchanged, file_name), std::nullopt};
}

} // namespace

CorrectionImport import_correction(const QByteArray& bytes, const QString& file_name,
                                   const CorrectionSnapshot& window) {
    try {
        return {Result::success(file_name),
                CorrectionFileParser(file_lines(bytes), window).parse()};
    } catch (const Refusal& refusal) {
        return refused(QStringLiteral("The %1 %2 %3")
                           .arg(refusal.not_correction_file ? QStringLiteral("file")
                                                            : QStringLiteral("correction file"),
                                quoted(QDir::toNativeSeparators(file_name)), refusal.what),
                       file_name);
    }
}

CorrectionImport read_correction_file(const QString& path, const CorrectionSnapshot& window) {
    const auto refused_file = [&path](const QString& what) {
        return refused(
            QStringLiteral("The file %1 %2").arg(quoted(QDir::toNativeSeparators(path)), what),
            path);
    };
    // A folder or a device is refused before anything is read from it.
    QFile file(path);
    if (!file.exists()) return refused_file(QStringLiteral("could not be found."));
    if (!QFileInfo(file).isFile()) return refused_file(QStringLiteral("is not a file."));
    if (!file.open(QIODevice::ReadOnly))
        return refused_file(QStringLiteral("could not be read: %1.").arg(file.errorString()));
    const QByteArray bytes = file.read(MaxCorrectionFileSize + 1);
    if (file.error() != QFileDevice::NoError)
        return refused_file(QStringLiteral("could not be read: %1.").arg(file.errorString()));
    if (bytes.size() > MaxCorrectionFileSize)
        return refused_file(QStringLiteral("is too large for a correction file (more than 1 MB)."));
    return import_correction(bytes, path, window);
}
