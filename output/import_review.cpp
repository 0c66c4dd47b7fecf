#include "import_review.h"

#include "cp1252.h"
#include "entry_fields.h"

namespace {

QString ticked(Qt::CheckState state) {
    return state == Qt::Checked ? QStringLiteral("ticked") : QStringLiteral("unticked");
}

class Differences {
  public:
    Differences(const CorrectionSnapshot& held, const CorrectionSnapshot& file)
        : held_(held), file_(file) {}

    void text(int s) {
        const QString& was = held_.Text1[std::size_t(s)];
        const QString& is = file_.Text1[std::size_t(s)];
        if (was != is)
            list_.push_back(
                {QString::fromStdString(text_slot_caption(s)), was, is, first_unstorable(is) >= 0});
    }
    void texts(int first, int last) {
        for (int s = first; s <= last; ++s) text(s);
    }

    template <std::size_t N>
    void ticks(const std::array<CorrectionSnapshot::Tick, N> CorrectionSnapshot::*boxes,
               std::size_t first, std::size_t last, const char* const* names = nullptr) {
        for (std::size_t i = first; i <= last; ++i) {
            const auto& was = (held_.*boxes)[i];
            const auto& is = (file_.*boxes)[i];
            // Only a tick is stored; clear and greyed both store 0.
            if ((was.state == Qt::Checked) == (is.state == Qt::Checked)) continue;
            const QString name = names && *names[i] ? QString::fromUtf8(names[i]) : is.caption;
            list_.push_back({name, ticked(was.state), ticked(is.state), false});
        }
    }

    template <std::size_t N>
    void choice(const QString& field, const std::array<QString, N>& captions,
                const std::array<bool, N>& was, const std::array<bool, N>& is) {
        const auto chosen = [&captions](const std::array<bool, N>& buttons) {
            QString caption = QStringLiteral("none");
            for (std::size_t i = 0; i < N; ++i)
                if (buttons[i]) caption = captions[i];
            return caption;
        };
        if (chosen(was) != chosen(is)) list_.push_back({field, chosen(was), chosen(is), false});
    }

    std::vector<FieldDifference> take() { return std::move(list_); }

  private:
    const CorrectionSnapshot& held_;
    const CorrectionSnapshot& file_;
    std::vector<FieldDifference> list_;
};

template <std::size_t N>
std::array<bool, N> chosen(const std::array<CorrectionSnapshot::Choice, N>& buttons) {
    std::array<bool, N> on{};
    for (std::size_t i = 0; i < N; ++i) on[i] = buttons[i].chosen;
    return on;
}

} // namespace

std::vector<FieldDifference> import_differences(const CorrectionSnapshot& held,
                                                const CorrectionSnapshot& file) {
    Differences d(held, file);
    std::array<QString, SalutationCaptions.size()> salutations;
    for (std::size_t i = 0; i < salutations.size(); ++i)
        salutations[i] = QString::fromLatin1(SalutationCaptions[i]);
    d.choice(QStringLiteral("Salutation"), salutations, chosen(held.Opt_Mr_Mrs),
             chosen(file.Opt_Mr_Mrs));
    d.ticks(&CorrectionSnapshot::chk_titel, 0, TitleFlagCount - 1);
    d.texts(OtherTitleSlot, PositionSlot);
    d.ticks(&CorrectionSnapshot::Chk_organ, 0, OrganizationFlagCount - 1);
    d.text(OtherOrganizationSlot);
    d.texts(FirstInterestSlot, FirstInterestSlot + InterestSlotCount - 1);

    std::array<const char*, EquipmentBoxCount> equipment_names{};
    for (std::size_t k = 0; k < equipment_names.size(); ++k)
        equipment_names[k] = EquipmentFields[k].name;
    d.ticks(&CorrectionSnapshot::Chh_equipm, 0, EquipmentBoxCount - 1, equipment_names.data());
    d.texts(FirstOtherEquipmentSlot, FirstOtherEquipmentSlot + OtherEquipmentSlotCount - 1);
    d.choice(QStringLiteral("Collaboration"),
             std::array<QString, 2>{QStringLiteral("all"), QStringLiteral("some")}, held.Option1,
             file.Option1);
    d.text(RemarksSlot);
    return d.take();
}
