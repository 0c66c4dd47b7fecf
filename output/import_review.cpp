#include "import_review.h"

#include "cp1252.h"
#include "entry_fields.h"

#include <algorithm>
#include <functional>

namespace {

QString ticked(bool on) {
    return on ? QStringLiteral("ticked") : QStringLiteral("unticked");
}

// Goes through the fields in the window's order and settles each one against what the
// directory holds, from every reading of the file (the first reading first).
class Settling {
  public:
    Settling(const CorrectionSnapshot& held, const std::vector<const CorrectionSnapshot*>& readings)
        : held_(held), readings_(readings), window_(*readings.front()) {}

    void text(int s) {
        const std::size_t i = std::size_t(s);
        settle<QString>(
            QString::fromStdString(text_slot_caption(s)),
            [i](const CorrectionSnapshot& w) { return w.Text1[i]; },
            [i](CorrectionSnapshot& w, const CorrectionSnapshot& from) { w.Text1[i] = from.Text1[i]; },
            [](const QString& text) { return text; });
    }
    void texts(int first, int last) {
        for (int s = first; s <= last; ++s) text(s);
    }

    template <std::size_t N>
    void ticks(std::array<CorrectionSnapshot::Tick, N> CorrectionSnapshot::*boxes,
               const char* const* names = nullptr) {
        for (std::size_t i = 0; i < N; ++i) {
            const QString name = names && *names[i] ? QString::fromUtf8(names[i])
                                                    : (window_.*boxes)[i].caption;
            // Only a tick is stored; clear and greyed both store 0.
            settle<bool>(
                name, [boxes, i](const CorrectionSnapshot& w) { return (w.*boxes)[i].state == Qt::Checked; },
                [boxes, i](CorrectionSnapshot& w, const CorrectionSnapshot& from) {
                    (w.*boxes)[i].state = (from.*boxes)[i].state;
                },
                ticked);
        }
    }

    template <std::size_t N>
    void choice(const QString& field, const std::array<QString, N>& captions,
                std::function<std::array<bool, N>(const CorrectionSnapshot&)> chosen,
                std::function<void(CorrectionSnapshot&, const CorrectionSnapshot&)> take) {
        settle<std::array<bool, N>>(field, chosen, take, [&captions](const std::array<bool, N>& on) {
            QString caption = QStringLiteral("none");
            for (std::size_t i = 0; i < N; ++i)
                if (on[i]) caption = captions[i];
            return caption;
        });
    }

    ImportReview take() { return {std::move(window_), std::move(list_), {}}; }

  private:
    template <typename Value>
    void settle(const QString& field, const std::function<Value(const CorrectionSnapshot&)>& value_of,
                const std::function<void(CorrectionSnapshot&, const CorrectionSnapshot&)>& take_from,
                const std::function<QString(const Value&)>& shown) {
        const Value held = value_of(held_);
        std::vector<Value> values;
        for (const CorrectionSnapshot* reading : readings_) {
            const Value v = value_of(*reading);
            if (std::find(values.begin(), values.end(), v) == values.end()) values.push_back(v);
        }
        const bool matches_held = std::find(values.begin(), values.end(), held) != values.end();
        if (values.size() > 1 || matches_held) take_from(window_, held_);
        if (matches_held) return;
        FieldDifference d{field, shown(held), shown(values.front()), false, {}};
        if (values.size() > 1)
            for (const Value& v : values) d.readings << shown(v);
        else if constexpr (std::is_same_v<Value, QString>)
            d.unstorable = first_unstorable(values.front()) >= 0;
        list_.push_back(std::move(d));
    }

    const CorrectionSnapshot& held_;
    const std::vector<const CorrectionSnapshot*>& readings_;
    CorrectionSnapshot window_;
    std::vector<FieldDifference> list_;
};

template <std::size_t N>
std::array<bool, N> chosen(const std::array<CorrectionSnapshot::Choice, N>& buttons) {
    std::array<bool, N> on{};
    for (std::size_t i = 0; i < N; ++i) on[i] = buttons[i].chosen;
    return on;
}

ImportReview settle(const CorrectionSnapshot& held,
                    const std::vector<const CorrectionSnapshot*>& readings) {
    Settling d(held, readings);
    std::array<QString, SalutationCaptions.size()> salutations;
    for (std::size_t i = 0; i < salutations.size(); ++i)
        salutations[i] = QString::fromLatin1(SalutationCaptions[i]);
    d.choice<SalutationCaptions.size()>(
        QStringLiteral("Salutation"), salutations,
        [](const CorrectionSnapshot& w) { return chosen(w.Opt_Mr_Mrs); },
        [](CorrectionSnapshot& w, const CorrectionSnapshot& from) {
            for (std::size_t i = 0; i < w.Opt_Mr_Mrs.size(); ++i)
                w.Opt_Mr_Mrs[i].chosen = from.Opt_Mr_Mrs[i].chosen;
        });
    d.ticks(&CorrectionSnapshot::chk_titel);
    d.texts(OtherTitleSlot, PositionSlot);
    d.ticks(&CorrectionSnapshot::Chk_organ);
    d.text(OtherOrganizationSlot);
    d.texts(FirstInterestSlot, FirstInterestSlot + InterestSlotCount - 1);

    std::array<const char*, EquipmentBoxCount> equipment_names{};
    for (std::size_t k = 0; k < equipment_names.size(); ++k)
        equipment_names[k] = EquipmentFields[k].name;
    d.ticks(&CorrectionSnapshot::Chh_equipm, equipment_names.data());
    d.texts(FirstOtherEquipmentSlot, FirstOtherEquipmentSlot + OtherEquipmentSlotCount - 1);
    d.choice<2>(
        QStringLiteral("Collaboration"),
        std::array<QString, 2>{QStringLiteral("all"), QStringLiteral("some")},
        [](const CorrectionSnapshot& w) { return w.Option1; },
        [](CorrectionSnapshot& w, const CorrectionSnapshot& from) { w.Option1 = from.Option1; });
    d.text(RemarksSlot);
    return d.take();
}

} // namespace

std::vector<FieldDifference> import_differences(const CorrectionSnapshot& held,
                                                const CorrectionSnapshot& file) {
    return settle(held, {&file}).differences;
}

ImportReview review_correction(const CorrectionSnapshot& held, const CorrectionImport& file) {
    std::vector<const CorrectionSnapshot*> readings{&*file.window};
    for (const CorrectionSnapshot& other : file.other_readings) readings.push_back(&other);
    ImportReview review = settle(held, readings);
    if (!file.quote_marks.isEmpty())
        review.notes << QStringLiteral("The file was quoted in a reply, every line beginning "
                                       "with \"%1\": it is read as the file it quotes.")
                            .arg(file.quote_marks);
    if (std::any_of(review.differences.begin(), review.differences.end(),
                    [](const FieldDifference& d) { return d.two_ways(); }))
        review.notes << QStringLiteral(
            "The file can be read two ways in some fields: a box written \"...\" may be empty "
            "or hold \"...\", and a line inside a text may end it or belong to it. Those fields "
            "keep what the directory holds unless you edit them.");
    return review;
}

QString with_break_marks(const QString& text) {
    QString shown;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n') {
            shown += c;
            continue;
        }
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
        shown += QStringLiteral("\u00B6\n");
    }
    return shown;
}
