#include "correction_import.h"

#include "correction_file.h"
#include "correction_layout.h"
#include "cp1252.h"
#include "entry_fields.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <QStringList>

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

namespace {

// Far more than any correction file: 83 short lines and what the boxes hold.
constexpr qint64 MaxCorrectionFileSize = qint64(1) << 20;

const QString Unchanged = QStringLiteral(" The window was not changed.");
const QString LineEnd = QStringLiteral("\r\n");

// The earlier version closed the file with this line and put a ">" before a line of a text
// that read as the line after the text, or a text that read as an empty box.
const QString EarlierEndLine = QStringLiteral("End of the correction file");

// What is wrong and where, as the end of a sentence that names the file.
struct Refusal {
    QString what;
    bool not_correction_file = false;
};

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

// Whether `line` is the beginning of what `want` should read, and no more: the file was cut
// inside that line.
bool breaks_off(const LayoutLine& want, const QString& line) {
    if (want.kind == LayoutLine::YesNoLine)
        return (want.text + QStringLiteral("yes")).startsWith(line) ||
               (want.text + QStringLiteral("no")).startsWith(line);
    return want.text.startsWith(line);
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
    QString line_end = LineEnd;
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

// A reply quotes a file with the same marks before every line: ">" once or more, each with or
// without a blank after it. The first line of a correction file begins with a caption, so
// the marks are what stands before that. Gives the marks taken off, or nothing when some
// line does not begin with ">".
QString take_off_quote(QStringList& lines) {
    if (lines.isEmpty() ||
        !std::all_of(lines.begin(), lines.end(), [](const QString& l) { return l.startsWith(u'>'); }))
        return {};
    const QString& first = lines.front();
    qsizetype n = 0;
    while (n < first.size() && (first[n] == u'>' || first[n] == u' ')) ++n;
    const QString marks = first.left(n);
    const qsizetype levels = marks.count(u'>');
    for (qsizetype i = 0; i < lines.size(); ++i) {
        QString& line = lines[i];
        if (line.startsWith(marks)) {
            line.remove(0, n);
            continue;
        }
        // An empty line of the quoted file, whose blanks the mail program dropped.
        const bool marks_only = std::all_of(line.begin(), line.end(),
                                            [](QChar c) { return c == u'>' || c == u' '; });
        if (!marks_only || line.count(u'>') != levels)
            throw Refusal{QStringLiteral("is quoted in a reply, every line beginning with "
                                         "\">\", but line %1 does not begin with %2 as line 1 "
                                         "does: %3.")
                              .arg(QString::number(i + 1), quoted(marks), quoted_line(line))};
        line.clear();
    }
    return marks;
}

// Remembers which line chose a button of each option group: only one can be chosen.
class Choices {
  public:
    Choices() { first_yes_.fill(-1); }

    // Whether line `at` (saying `yes` for `control`) still leaves one choice per group.
    bool take(YesNoControl control, qsizetype at, bool yes) {
        if (!yes || !is_option(control.group)) return true;
        qsizetype& earlier = first_yes_[std::size_t(control.group)];
        if (earlier >= 0) {
            conflict_ = {earlier, at};
            return false;
        }
        earlier = at;
        return true;
    }

    [[noreturn]] void refuse(const QStringList& lines) const {
        const auto [earlier, at] = conflict_;
        throw Refusal{QStringLiteral("contradicts itself: line %1 reads %2, but line %3 already "
                                     "reads %4, and only one can be chosen.")
                          .arg(QString::number(at + 1), quoted_line(lines[at]),
                               QString::number(earlier + 1), quoted_line(lines[earlier]))};
    }

  private:
    std::array<qsizetype, YesNoGroupCount> first_yes_{};
    std::pair<qsizetype, qsizetype> conflict_{};
};

bool says_yes(const QString& line) {
    return line.endsWith(u"yes");
}

// A text of the earlier version back from what it wrote: one ">" off each line that reads
// as the line after the text, and off a text that reads as an empty box.
QString unescaped(const QString& written, int slot, const LayoutLine& next) {
    const auto without_escapes = [](const QString& line) {
        qsizetype n = 0;
        while (n < line.size() && line[n] == u'>') ++n;
        return line.mid(n);
    };
    if (written == empty_box_text(slot)) return {};
    QStringList lines = written.split(LineEnd);
    for (qsizetype i = 1; i < lines.size(); ++i)
        if (lines[i].startsWith(u'>') && matches(next, without_escapes(lines[i])))
            lines[i].remove(0, 1);
    QString text = lines.join(LineEnd);
    if (text.startsWith(u'>') && without_escapes(text) == empty_box_text(slot)) text.remove(0, 1);
    return text;
}

// Reads the lines one after the other, each text ending where the lines after it begin.
// This is how the earlier version's files read, whose ">" kept a text from ending early; for
// any other file it tells where a file that cannot be read goes wrong.
class LineByLine {
  public:
    LineByLine(const QStringList& lines, std::vector<LayoutLine> layout, bool earlier_version,
               const CorrectionSnapshot& window)
        : lines_(lines), layout_(std::move(layout)), earlier_version_(earlier_version),
          controls_(yes_no_controls()), filled_(window) {
        if (earlier_version_) layout_.push_back({LayoutLine::Fixed, EarlierEndLine, -1});
    }

    CorrectionSnapshot parse() {
        if (lines_.isEmpty())
            throw Refusal{QStringLiteral("is not a correction file: it is empty."), true};
        qsizetype at = 0;
        for (std::size_t k = 0; k < layout_.size(); ++k) {
            const LayoutLine& want = layout_[k];
            if (at == lines_.size()) cut_short(k);
            if (!matches(want, lines_[at])) out_of_place(at, k);
            if (want.kind == LayoutLine::Value) {
                at = read_value(at, k);
                continue;
            }
            if (want.kind == LayoutLine::YesNoLine) {
                const YesNoControl control = controls_[std::size_t(want.target)];
                if (!choices_.take(control, at, says_yes(lines_[at]))) choices_.refuse(lines_);
                set_yes_no(filled_, control, says_yes(lines_[at]));
            }
            ++at;
        }
        for (; at < lines_.size(); ++at)
            if (!lines_[at].trimmed().isEmpty())
                throw Refusal{QStringLiteral("has text after its last line %1: line %2 reads %3.")
                                  .arg(quoted(EarlierEndLine), QString::number(at + 1),
                                       quoted_line(lines_[at]))};
        return filled_;
    }

  private:
    [[noreturn]] void out_of_place(qsizetype at, std::size_t k) const {
        if (at + 1 == lines_.size() && breaks_off(layout_[k], lines_[at]))
            throw Refusal{QStringLiteral("is cut short: its last line, line %1, breaks off at %2, "
                                         "where it %3.")
                              .arg(QString::number(at + 1), quoted_line(lines_[at]),
                                   what_belongs(layout_[k]))};
        const QString where =
            QStringLiteral("line %1 %2, not %3.")
                .arg(QString::number(at + 1), what_belongs(layout_[k]), quoted_line(lines_[at]));
        if (at == 0) throw Refusal{QStringLiteral("is not a correction file: ") + where, true};
        throw Refusal{QStringLiteral("has a line out of place: ") + where};
    }

    [[noreturn]] void cut_short(std::size_t k) const {
        throw Refusal{QStringLiteral("is cut short: it ends with line %1, %2, where line %3 %4.")
                          .arg(QString::number(lines_.size()), quoted_line(lines_.back()),
                               QString::number(lines_.size() + 1), what_belongs(layout_[k]))};
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

    // Gives the line after the value.
    qsizetype read_value(qsizetype at, std::size_t k) {
        const LayoutLine& want = layout_[k];
        qsizetype end = at + 1;
        if (k + 1 == layout_.size()) {
            end = lines_.size(); // the remarks run to the end of the file
        } else {
            while (end < lines_.size() && mismatch(end, k + 1)) ++end;
            if (end == lines_.size()) {
                // Nothing ever follows the value: blame the first line where that goes wrong.
                const qsizetype n = *mismatch(at + 1, k + 1);
                if (at + 1 + n >= lines_.size()) cut_short(k + 1 + std::size_t(n));
                out_of_place(at + 1 + n, k + 1 + std::size_t(n));
            }
        }
        QStringList parts = lines_.mid(at, end - at);
        parts.front().remove(0, want.text.size());
        QString text = parts.join(LineEnd);
        if (earlier_version_) text = unescaped(text, want.target, layout_[k + 1]);
        else if (text == empty_box_text(want.target)) text.clear();
        filled_.Text1[std::size_t(want.target)] = text;
        return end;
    }

    const QStringList& lines_;
    std::vector<LayoutLine> layout_;
    bool earlier_version_;
    std::vector<YesNoControl> controls_;
    CorrectionSnapshot filled_;
    Choices choices_;
};

// Every way the lines read as the layout, the remarks running to the end of the file: a
// text may end on any line after which the rest of the file still reads.
class EveryReading {
  public:
    EveryReading(const QStringList& lines, const std::vector<LayoutLine>& layout)
        : lines_(lines), layout_(layout), n_(lines.size()), k_(qsizetype(layout.size())),
          ahead_(std::size_t(k_ + 1), std::vector<bool>(std::size_t(n_ + 1))),
          behind_(std::size_t(k_ + 1), std::vector<bool>(std::size_t(n_ + 1))) {
        mark_ahead();
        mark_behind();
    }

    bool any() const { return at(behind_, 0, 0); }

    // The first reading, and every other reading of each field apart.
    CorrectionImport read(const CorrectionSnapshot& window) const {
        // Each text as short as the rest allows.
        std::vector<qsizetype> start(std::size_t(k_ + 1));
        qsizetype l = 0;
        for (qsizetype k = 0; k < k_; ++k) {
            start[std::size_t(k)] = l;
            l = layout_[std::size_t(k)].kind == LayoutLine::Value ? next_in(behind_, k + 1, l) : l + 1;
        }
        start[std::size_t(k_)] = l;

        const std::vector<YesNoControl> controls = yes_no_controls();
        CorrectionImport read;
        CorrectionSnapshot first = window;
        Choices choices;
        for (qsizetype k = 0; k < k_; ++k) {
            const LayoutLine& want = layout_[std::size_t(k)];
            const qsizetype s = start[std::size_t(k)];
            if (want.kind == LayoutLine::Value) {
                first.Text1[std::size_t(want.target)] =
                    meanings(want.target, text(k, s, start[std::size_t(k + 1)])).front();
            } else if (want.kind == LayoutLine::YesNoLine) {
                const YesNoControl control = controls[std::size_t(want.target)];
                if (!choices.take(control, s, says_yes(lines_[s]))) choices.refuse(lines_);
                set_yes_no(first, control, says_yes(lines_[s]));
            }
        }

        for (qsizetype k = 0; k < k_; ++k) {
            const LayoutLine& want = layout_[std::size_t(k)];
            if (want.kind == LayoutLine::Value)
                for (const QString& other : other_texts(k, first.Text1[std::size_t(want.target)])) {
                    read.other_readings.push_back(first);
                    read.other_readings.back().Text1[std::size_t(want.target)] = other;
                }
            else if (k == 0 || layout_[std::size_t(k - 1)].kind == LayoutLine::Value)
                add_other_yes_no(k, start[std::size_t(k)], first, controls, read.other_readings);
        }
        read.window = std::move(first);
        return read;
    }

  private:
    using Marks = std::vector<std::vector<bool>>;

    static bool at(const Marks& marks, qsizetype k, qsizetype l) {
        return marks[std::size_t(k)][std::size_t(l)];
    }
    static void set(Marks& marks, qsizetype k, qsizetype l) {
        marks[std::size_t(k)][std::size_t(l)] = true;
    }
    // The first line after `l` marked for item `k`; n_ + 1 when there is none.
    qsizetype next_in(const Marks& marks, qsizetype k, qsizetype l) const {
        for (qsizetype p = l + 1; p <= n_; ++p)
            if (at(marks, k, p)) return p;
        return n_ + 1;
    }
    bool fits(qsizetype k, qsizetype l) const {
        return l < n_ && matches(layout_[std::size_t(k)], lines_[l]);
    }

    // ahead_[k][l]: the lines before l read as the layout before item k.
    void mark_ahead() {
        set(ahead_, 0, 0);
        for (qsizetype k = 0; k < k_; ++k) {
            if (layout_[std::size_t(k)].kind != LayoutLine::Value) {
                for (qsizetype l = 0; l < n_; ++l)
                    if (at(ahead_, k, l) && fits(k, l)) set(ahead_, k + 1, l + 1);
                continue;
            }
            // A text may take any number of lines from its first one on.
            qsizetype l = 0;
            while (l < n_ && !(at(ahead_, k, l) && fits(k, l))) ++l;
            for (++l; l <= n_; ++l) set(ahead_, k + 1, l);
        }
    }

    // behind_[k][l]: item k can start on line l (ahead_), and the lines from l on read as the
    // layout from item k on. Lines no reading reaches are left out, as no reading needs them.
    void mark_behind() {
        set(behind_, k_, n_);
        for (qsizetype k = k_ - 1; k >= 0; --k) {
            if (layout_[std::size_t(k)].kind != LayoutLine::Value) {
                for (qsizetype l = 0; l < n_; ++l)
                    if (at(behind_, k + 1, l + 1) && at(ahead_, k, l) && fits(k, l))
                        set(behind_, k, l);
                continue;
            }
            qsizetype last = n_;
            while (last > 0 && !at(behind_, k + 1, last)) --last;
            for (qsizetype l = 0; l < last; ++l)
                if (at(ahead_, k, l) && fits(k, l)) set(behind_, k, l);
        }
    }

    bool possible(qsizetype k, qsizetype l) const { return at(behind_, k, l); }

    // The text of value `k` on the lines from `s` up to `end`, as the file writes it.
    QString text(qsizetype k, qsizetype s, qsizetype end) const {
        QStringList parts = lines_.mid(s, end - s);
        parts.front().remove(0, layout_[std::size_t(k)].text.size());
        return parts.join(LineEnd);
    }

    // What a text written as `written` can mean: an empty box is written as a text can be.
    static QStringList meanings(int slot, const QString& written) {
        if (written == empty_box_text(slot)) return {QString(), written};
        return {written};
    }

    // Every other text value `k` can hold in some reading, a few at most: beyond two readings
    // the review has said enough.
    QStringList other_texts(qsizetype k, const QString& first) const {
        constexpr qsizetype MostReadings = 4, MostSpans = 64;
        const int slot = layout_[std::size_t(k)].target;
        // The first line from each line on where the rest of the file can begin.
        std::vector<qsizetype> rest(std::size_t(n_ + 2), n_ + 1);
        for (qsizetype p = n_; p >= 0; --p)
            rest[std::size_t(p)] = at(behind_, k + 1, p) ? p : rest[std::size_t(p + 1)];
        QStringList found{first};
        qsizetype spans = 0;
        for (qsizetype s = 0; s < n_; ++s) {
            if (!possible(k, s)) continue;
            for (qsizetype end = rest[std::size_t(s + 1)]; end <= n_;
                 end = rest[std::size_t(end + 1)]) {
                for (const QString& meaning : meanings(slot, text(k, s, end)))
                    if (!found.contains(meaning)) found << meaning;
                if (found.size() >= MostReadings || ++spans >= MostSpans) return found.mid(1);
            }
        }
        return found.mid(1);
    }

    // Other readings of the yes/no lines from item `k` up to the next text: the text before
    // them may end elsewhere, and the lines then read differently.
    void add_other_yes_no(qsizetype k, qsizetype first_start, const CorrectionSnapshot& first,
                          const std::vector<YesNoControl>& controls,
                          std::vector<CorrectionSnapshot>& others) const {
        constexpr int MostOthers = 4;
        qsizetype end = k;
        while (end < k_ && layout_[std::size_t(end)].kind != LayoutLine::Value) ++end;
        int added = 0;
        for (qsizetype l = 0; l < n_ && added < MostOthers; ++l) {
            if (l == first_start || !possible(k, l)) continue;
            CorrectionSnapshot other = first;
            Choices choices;
            bool one_choice = true, differs = false;
            for (qsizetype j = k; j < end; ++j) {
                const LayoutLine& want = layout_[std::size_t(j)];
                if (want.kind != LayoutLine::YesNoLine) continue;
                const qsizetype line = l + (j - k);
                const bool yes = says_yes(lines_[line]);
                differs = differs || yes != says_yes(lines_[first_start + (j - k)]);
                one_choice = choices.take(controls[std::size_t(want.target)], line, yes) && one_choice;
                set_yes_no(other, controls[std::size_t(want.target)], yes);
            }
            if (differs && one_choice) {
                others.push_back(std::move(other));
                ++added;
            }
        }
    }

    const QStringList& lines_;
    const std::vector<LayoutLine>& layout_;
    qsizetype n_, k_;
    Marks ahead_, behind_;
};

bool ends_with_earlier_end_line(const QStringList& lines) {
    for (qsizetype i = lines.size() - 1; i >= 0; --i)
        if (!lines[i].trimmed().isEmpty()) return lines[i] == EarlierEndLine;
    return false;
}

CorrectionImport read_lines(QStringList lines, const CorrectionSnapshot& window) {
    const QString marks = take_off_quote(lines);
    const std::vector<LayoutLine> layout = file_layout(window);
    const bool earlier_version = ends_with_earlier_end_line(lines);
    std::optional<CorrectionSnapshot> as_earlier;
    std::optional<Refusal> earlier_refusal;
    if (earlier_version) {
        try {
            as_earlier = LineByLine(lines, layout, true, window).parse();
        } catch (const Refusal& refusal) {
            earlier_refusal = refusal;
        }
    }

    CorrectionImport read;
    const EveryReading every(lines, layout);
    if (every.any()) {
        try {
            read = every.read(window);
        } catch (const Refusal&) {
            if (!as_earlier) throw;
        }
    } else if (!as_earlier) {
        if (earlier_refusal) throw *earlier_refusal;
        LineByLine(lines, layout, false, window).parse(); // says where the file goes wrong
        throw Refusal{QStringLiteral("cannot be read.")}; // not reached: the lines read
    }
    // An earlier version's file means first what that version meant by it.
    if (as_earlier) {
        if (read.window) read.other_readings.insert(read.other_readings.begin(), *read.window);
        read.window = std::move(as_earlier);
    }
    read.quote_marks = marks;
    return read;
}

CorrectionImport refused(const QString& sentence, const QString& file_name) {
    return {Result::failure(sentence + Unchanged, file_name), std::nullopt, {}, {}};
}

} // namespace

CorrectionImport import_correction(const QByteArray& bytes, const QString& file_name,
                                   const CorrectionSnapshot& window) {
    try {
        CorrectionImport read = read_lines(file_lines(bytes), window);
        read.result = Result::success(file_name);
        return read;
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
