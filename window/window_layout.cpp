#include "control_values.h"
#include "correction_text.h"
#include "directory.h"
#include "frm_ZEL.h"
#include "import_round.h"
#include "layout_units.h"
#include "lookup_orders.h"
#include "notice_line.h"
#include "sorted_list.h"
#include "text_finder.h"
#include "window_look.h"
#include "wrapped_button.h"

#include <QButtonGroup>
#include <QFrame>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <limits>
#include <utility>
#include <vector>

namespace {

// Colours as BBGGRR; Default keeps the window's own colour for the control's kind.
constexpr std::uint32_t Default = 0xFFFFFFFF;
constexpr std::uint32_t LightGrey = 0xE0E0E0;
constexpr std::uint32_t Grey = 0xC0C0C0;
constexpr std::uint32_t Yellow = 0x00FFFF;
constexpr std::uint32_t PaleYellow = 0x80FFFF;
constexpr std::uint32_t Cream = 0xC0FFFF;
constexpr std::uint32_t Blue = 0xFF0000;
constexpr std::uint32_t Black = 0x000000;
constexpr std::uint32_t PaleGreen = 0xC0FFC0;
constexpr std::uint32_t LightGreen = 0x80FF80;
constexpr std::uint32_t LightViolet = 0xFF8080;
constexpr std::uint32_t PaleBlue = 0xFFC0C0;
constexpr std::uint32_t PaleCyan = 0xFFFFC0;
constexpr std::uint32_t WindowBack = Grey;

struct Font {
    const char* family = nullptr; // nullptr: the window's default font
    double points = 0;
    bool bold = false;
};
constexpr Font WindowFont{};
constexpr Font SansBold{"MS Sans Serif", 8.25, true};
constexpr Font SansLargeBold{"MS Sans Serif", 9.75, true};

// A control's rectangle in its parent, in twips as the form was drawn.
struct TwipRect {
    int left, top, width, height; // twips
};

struct TextBoxRow {
    int index;
    TwipRect place;
    int tab;
};

constexpr TextBoxRow Text1Rows[] = {
    {0, {4860, 45, 1455, 200}, 5},     {1, {1305, 315, 4605, 240}, 6},
    {2, {1305, 585, 5055, 200}, 7},    {3, {1305, 810, 5055, 600}, 8},
    {4, {1305, 1440, 3030, 200}, 9},   {5, {5265, 1440, 1095, 200}, 10},
    {6, {1305, 1665, 5055, 200}, 11},  {7, {1305, 1890, 2385, 200}, 12},
    {8, {4095, 1890, 2280, 200}, 13},  {9, {1305, 2115, 5070, 200}, 14},
    {10, {1305, 2340, 5070, 200}, 15}, {11, {1305, 3105, 2490, 200}, 22},
    {12, {3825, 3105, 2535, 200}, 23}, {13, {1305, 3330, 2490, 200}, 24},
    {14, {3825, 3330, 2535, 200}, 25}, {15, {1305, 3555, 2490, 200}, 26},
    {16, {3825, 3555, 2535, 200}, 27}, {17, {1260, 5850, 1650, 200}, 55},
    {18, {2925, 5850, 1695, 200}, 56}, {19, {4635, 5850, 1740, 200}, 57},
    {20, {1200, 6690, 5070, 675}, 60}, {21, {3825, 2835, 2535, 200}, 83},
};
// Captions come from the table of the entry's fields.
struct LabelRow {
    int index;
    TwipRect place;
    std::uint32_t fore;
};

constexpr LabelRow label1Rows[] = {
    {0, {45, 45, 465, 195}, Blue},       {1, {45, 315, 1140, 195}, Yellow},
    {2, {45, 585, 1140, 195}, Yellow},   {3, {45, 855, 1140, 420}, Yellow},
    {4, {45, 1440, 1140, 195}, Yellow},  {5, {4365, 1440, 915, 195}, PaleYellow},
    {6, {45, 1665, 1140, 195}, Yellow},  {7, {45, 1890, 1140, 195}, Yellow},
    {8, {3690, 1890, 375, 195}, Yellow}, {9, {45, 2115, 1050, 195}, Yellow},
    {10, {45, 2340, 825, 195}, Yellow},  {11, {0, 2700, 1095, 195}, Yellow},
    {12, {0, 3195, 1230, 465}, Yellow},  {13, {45, 3825, 915, 420}, Yellow},
    {14, {45, 6840, 1050, 195}, Blue},
};
constexpr std::uint32_t SurnameLabelBack = Grey;

// The title row: Top 45, Height 200, blue bold captions.
struct TitleRowBox {
    int index;
    int left, width;
    int tab;
};
constexpr int TitleRowTop = 45;
constexpr int TitleRowHeight = 200;
constexpr TitleRowBox Opt_Mr_MrsRows[] = {
    {0, 1305, 600, 1},
    {1, 1935, 735, 2},
    {2, 2700, 600, 3},
};
constexpr TitleRowBox chk_titelRows[] = {
    {0, 3510, 750, 4},
    {1, 4230, 615, 61},
};

struct CheckBoxRow {
    int index;
    int left, top, width;
    int tab;
};
constexpr int CheckBoxHeight = 200;
constexpr CheckBoxRow Chk_organRows[] = {
    {0, 1305, 2610, 1100, 16}, {1, 2520, 2610, 1185, 17}, {2, 3825, 2610, 1185, 18},
    {3, 5130, 2610, 1230, 19}, {4, 1305, 2835, 1100, 20}, {5, 2520, 2835, 1230, 21},
};

// The boxes before the polished-sections statement stand in a grid of three columns; the
// caption-less ones among them stay hidden.
constexpr int EquipmentGridLeft[3] = {1260, 2880, 4590};
constexpr int EquipmentGridTop = 3825;
constexpr int EquipmentGridRowStep = 225;
constexpr int EquipmentGridWidth = 1800;
constexpr int EquipmentGridFirstTab = 28;
constexpr CheckBoxRow PolishedSectionsRow = {PolishedSectionsFlag, 1260, 6090, 5040, 97};

constexpr TwipRect Frame1Place = {1260, 6360, 5100, 240};
struct OptionRow {
    int index;
    const char* caption;
    TwipRect place; // inside Frame1
    std::uint32_t back;
    int tab;
};
constexpr OptionRow Option1Rows[] = {
    {0, "all", {0, 0, 510, 195}, Default, 58},
    {1,
     "some   of the ticked facilities may be used collaboratively",
     {690, 0, 4470, 240},
     Grey,
     59},
};

struct CommandRow {
    QPushButton* frm_ZEL::*button;
    const char* name;
    const char* caption;
    TwipRect place;
    Font font;
    bool shown;
    int tab;
    void (frm_ZEL::*click)();
};
constexpr CommandRow CommandRows[] = {
    {&frm_ZEL::cmd_down,
     "cmd_down",
     "<",
     {5940, 315, 195, 240},
     SansLargeBold,
     true,
     81,
     &frm_ZEL::cmd_down_Click},
    {&frm_ZEL::cmd_up,
     "cmd_up",
     ">",
     {6120, 315, 240, 240},
     SansLargeBold,
     true,
     82,
     &frm_ZEL::cmd_up_Click},
    {&frm_ZEL::cmd_corrections,
     "cmd_corrections",
     "Correction        File",
     {90, 4680, 960, 420},
     WindowFont,
     true,
     94,
     &frm_ZEL::cmd_corrections_Click},
    {&frm_ZEL::cmd_new,
     "cmd_new",
     "New",
     {90, 5175, 825, 240},
     WindowFont,
     false,
     79,
     &frm_ZEL::cmd_new_Click},
    {&frm_ZEL::cmd_store,
     "cmd_store",
     "Store",
     {90, 5400, 825, 240},
     WindowFont,
     false,
     78,
     &frm_ZEL::cmd_store_Click},
    {&frm_ZEL::cmd_clear,
     "cmd_clear",
     "Clear",
     {90, 5625, 825, 240},
     WindowFont,
     false,
     80,
     &frm_ZEL::cmd_clear_Click},
    {&frm_ZEL::cmd_EXIT,
     "cmd_EXIT",
     "EXIT",
     {90, 5850, 825, 240},
     WindowFont,
     false,
     77,
     &frm_ZEL::cmd_EXIT_Click},
    {&frm_ZEL::cmd_e_mail,
     "cmd_e_mail",
     "e-mail",
     {90, 6075, 825, 240},
     WindowFont,
     false,
     96,
     &frm_ZEL::cmd_e_mail_Click},
    {&frm_ZEL::Command1,
     "Command1",
     "",
     {990, 6360, 195, 150},
     WindowFont,
     false,
     93,
     &frm_ZEL::Command1_Click},
    {&frm_ZEL::cmd_import,
     "cmd_import",
     "Import",
     {90, 6360, 825, 240},
     WindowFont,
     false,
     98,
     &frm_ZEL::cmd_import_Click},
};

constexpr int Line1Left = 6435;
constexpr int Line1Bottom = 7380;

// The right column.
constexpr TwipRect Frame2Place = {6480, 0, 2940, 3795};
constexpr TwipRect List2Place = {6480, 45, 2940, 3375};
constexpr TwipRect list1Place = {6480, 3825, 2940, 3495};
constexpr int List2Tab = 84;
constexpr int list1Tab = 95;
constexpr int Text2Tab = 90;

// The title panel, in blue Times New Roman.
struct PanelLabelRow {
    QLabel* frm_ZEL::*label; // nullptr: decoration that nothing changes
    const char* name;
    const char* caption;
    TwipRect place; // inside Frame2
    std::uint32_t back;
    double points;
};
constexpr PanelLabelRow Frame2Rows[] = {
    {nullptr, "Label2", "ZEL-KAV", {45, 90, 2805, 690}, PaleGreen, 27.75},
    {nullptr, "Label3", "Directory of Ore", {270, 675, 2220, 375}, PaleGreen, 15.75},
    {nullptr, "Label6", "Mineralogists", {450, 990, 1860, 420}, PaleGreen, 15.75},
    {nullptr, "Label7", "    compiled by   Vormikan", {630, 1350, 1410, 465}, Default, 9.75},
    {&frm_ZEL::Label4, "Label4", "Label4", {90, 1890, 2355, 285}, LightViolet, 11.25},
    {&frm_ZEL::Label5, "Label5", "Label5", {90, 2160, 2535, 240}, LightGreen, 11.25},
};
constexpr const char* PanelFamily = "Times New Roman";
constexpr TwipRect Text2Place = {45, 2430, 2850, 1275};
constexpr double Text2Points = 9;

const QString UsageText = QStringLiteral("                    Usage\r\n"
                                         "Click with the left mouse button \r\n"
                                         "on a yellow label. A list box is \r\n"
                                         "then activated allowing further \r\n"
                                         "selection (upper box) or direct \r\n"
                                         "output of the respective address \r\n"
                                         "(lower box).     \r\n"
                                         "\r\n"
                                         "If you want to modify any item  \r\n"
                                         "please make  changes  on the\r\n"
                                         "screen, click (LMB) \"Correction\r\n"
                                         "File\" and send the generated text\r\n"
                                         "file preferably via e-mail to the\r\n"
                                         "address of Vormikan. The\r\n"
                                         "file name is:\r\n"
                                         "      myrname_KAV.TXT\r\n"
                                         "You find it on  the desktop.\r\n"
                                         "\r\n");

void place(QWidget* widget, const TwipRect& p) {
    widget->setGeometry(pixel_rect(p.left, p.top, p.width, p.height));
}

void use_font(QWidget* widget, const Font& font) {
    if (!font.family) return;
    QFont f(QString::fromLatin1(font.family));
    f.setPointSizeF(font.points);
    f.setBold(font.bold);
    widget->setFont(f);
}

void use_colours(QWidget* widget, std::uint32_t fore, std::uint32_t back) {
    QPalette palette = widget->palette();
    if (fore != Default) {
        const QColor colour = color_from_bbggrr(fore);
        for (auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text}) {
            palette.setColor(role, colour);
        }
    }
    if (back != Default) {
        const QColor colour = color_from_bbggrr(back);
        // Buttons fill with their own role, text boxes and lists with Base.
        for (auto role : {QPalette::Window, QPalette::Base, widget->backgroundRole()}) {
            palette.setColor(role, colour);
        }
        widget->setAutoFillBackground(true);
    }
    widget->setPalette(palette);
}

void use_caption_label(QLabel* label, const QString& caption) {
    label->setTextFormat(Qt::PlainText);
    label->setText(caption);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
}

// A caption wraps at blanks only in a label high enough for two lines; a one-line label keeps
// its caption on its one line.
void wrap_if_two_lines_high(QLabel* label) {
    label->setWordWrap(label->height() >= 2 * label->fontMetrics().height());
}

QPlainTextEdit* multi_line_box(QWidget* parent) {
    auto* box = new QPlainTextEdit(parent);
    box->setFrameShape(QFrame::NoFrame);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setTabChangesFocus(true);
    box->document()->setDocumentMargin(1);
    return box;
}

QLineEdit* single_line_box(QWidget* parent) {
    auto* line = new QLineEdit(parent);
    line->setFrame(false);
    // A text from the data file may be longer than a line edit's usual limit.
    line->setMaxLength(std::numeric_limits<int>::max());
    return line;
}

QString caption_of(const char* caption) {
    return QString::fromLatin1(caption);
}

// Every check box: a blue caption, named after its array and index, in the focus order.
FlagCheckBox* check_box(QWidget* parent, const char* array, int index, const char* caption,
                               TwipRect at, const Font& font) {
    auto* box = new FlagCheckBox(caption_of(caption), parent);
    box->setObjectName(QStringLiteral("%1_%2").arg(QLatin1String(array)).arg(index));
    place(box, at);
    use_font(box, font);
    use_colours(box, Blue, Default);
    return box;
}

} // namespace

frm_ZEL::frm_ZEL(Directory& directory_, std::filesystem::path folder_, QWidget* parent)
    : QWidget(parent), directory(directory_), table(directory_.table()),
      folder(std::move(folder_)),
      lookup_orders_(std::make_unique<LookupOrders>(table)) {
    setWindowTitle(QString(37, u' ') + QStringLiteral("ZEL-KAV Directory of Ore Mineralogists"));
    setFixedSize(pixels(9450), pixels(7680));
    // The grey of the platform the window was drawn for: the yellow captions are legible on it,
    // not on a near-white one. The whole palette is the window's own, so the desktop's theme
    // reaches no control.
    setPalette(window_palette(color_from_bbggrr(WindowBack)));

    // Focus order by TabIndex; labels and frames hold a place but never take the focus.
    TabChain tab_chain;
    build_text_boxes(tab_chain);
    build_caption_labels();
    build_title_row(tab_chain);
    build_kind_boxes(tab_chain);
    build_collaboration(tab_chain);
    build_command_buttons(tab_chain);
    build_right_column(tab_chain);

    std::stable_sort(tab_chain.begin(), tab_chain.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (size_t i = 1; i < tab_chain.size(); ++i) {
        QWidget::setTabOrder(tab_chain[i - 1].second, tab_chain[i].second);
    }
    install_lookup_keys();
    install_finder();
    install_shortcuts();
    install_lower_box_menu();
    install_email_menu();
}

frm_ZEL::~frm_ZEL() = default;

void frm_ZEL::build_text_boxes(TabChain& tab_chain) {
    for (const TextBoxRow& row : Text1Rows) {
        QWidget* box = is_multi_line_slot(row.index) ? static_cast<QWidget*>(multi_line_box(this))
                                                     : single_line_box(this);
        box->setObjectName(QStringLiteral("Text1_%1").arg(row.index));
        place(box, row.place);
        use_colours(box, row.index == SurnameSlot ? Black : Default, LightGrey);
        if (row.index == SurnameSlot) use_font(box, SansLargeBold);
        // Screen readers announce a text box by the caption beside it.
        box->setAccessibleName(QString::fromStdString(text_slot_caption(row.index)));
        Text1[size_t(row.index)] = box;
        tab_chain.emplace_back(row.tab, box);
    }
}

void frm_ZEL::build_caption_labels() {
    for (const LabelRow& row : label1Rows) {
        auto* label = new CaptionLabel(row.index, this);
        label->setObjectName(QStringLiteral("label1_%1").arg(row.index));
        use_caption_label(label, caption_of(LabelCaptions[size_t(row.index)]));
        place(label, row.place);
        use_font(label, SansBold);
        wrap_if_two_lines_high(label);
        use_colours(label, row.fore, row.index == SurnameLabel ? SurnameLabelBack : Default);
        connect(label, &CaptionLabel::clicked, this, [this](int index) { label1_Click(index); });
        label1[size_t(row.index)] = label;
    }
}

void frm_ZEL::build_title_row(TabChain& tab_chain) {
    // Explicit groups: Qt's automatic grouping by parent would reach into Frame1.
    auto* salutation = new QButtonGroup(this);
    for (const TitleRowBox& row : Opt_Mr_MrsRows) {
        auto* button = new QRadioButton(caption_of(SalutationCaptions[size_t(row.index)]), this);
        salutation->addButton(button);
        button->setObjectName(QStringLiteral("Opt_Mr_Mrs_%1").arg(row.index));
        place(button, {row.left, TitleRowTop, row.width, TitleRowHeight});
        use_font(button, SansBold);
        use_colours(button, Blue, Default);
        Opt_Mr_Mrs[size_t(row.index)] = button;
        tab_chain.emplace_back(row.tab, button);
    }
    for (const TitleRowBox& row : chk_titelRows) {
        QCheckBox* box = check_box(this, "chk_titel", row.index, TitleCaptions[size_t(row.index)],
                                   {row.left, TitleRowTop, row.width, TitleRowHeight}, SansBold);
        chk_titel[size_t(row.index)] = box;
        tab_chain.emplace_back(row.tab, box);
    }
}

void frm_ZEL::build_kind_boxes(TabChain& tab_chain) {
    for (const CheckBoxRow& row : Chk_organRows) {
        QCheckBox* box =
            check_box(this, "Chk_organ", row.index, OrganizationCaptions[size_t(row.index)],
                      {row.left, row.top, row.width, CheckBoxHeight}, WindowFont);
        Chk_organ[size_t(row.index)] = box;
        tab_chain.emplace_back(row.tab, box);
    }

    std::vector<CheckBoxRow> equipment_rows;
    for (int i = 0; i < PolishedSectionsFlag; ++i) {
        equipment_rows.push_back({i, EquipmentGridLeft[i % 3],
                                  EquipmentGridTop + EquipmentGridRowStep * (i / 3),
                                  EquipmentGridWidth, EquipmentGridFirstTab + i});
    }
    equipment_rows.push_back(PolishedSectionsRow);
    for (const CheckBoxRow& row : equipment_rows) {
        QCheckBox* box =
            check_box(this, "Chh_equipm", row.index, EquipmentFields[size_t(row.index)].caption,
                      {row.left, row.top, row.width, CheckBoxHeight}, WindowFont);
        if (row.index >= NamedEquipmentKinds && row.index < PolishedSectionsFlag) {
            box->setVisible(false);
            box->setAccessibleName(
                QString::fromLatin1(EquipmentFields[size_t(row.index)].name));
        }
        Chh_equipm[size_t(row.index)] = box;
        tab_chain.emplace_back(row.tab, box);
    }
}

void frm_ZEL::build_collaboration(TabChain& tab_chain) {
    // The frame makes the two collaboration buttons a group of their own; its caption is not
    // drawn.
    Frame1 = new QFrame(this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Frame1->setAccessibleName(QStringLiteral("Frame1"));
    place(Frame1, Frame1Place);
    use_colours(Frame1, Default, Grey);
    auto* collaboration = new QButtonGroup(this);
    for (const OptionRow& row : Option1Rows) {
        auto* button = new QRadioButton(caption_of(row.caption), Frame1);
        collaboration->addButton(button);
        button->setObjectName(QStringLiteral("Option1_%1").arg(row.index));
        place(button, row.place);
        use_colours(button, Blue, row.back);
        Option1[size_t(row.index)] = button;
        tab_chain.emplace_back(row.tab, button);
    }
}

void frm_ZEL::build_command_buttons(TabChain& tab_chain) {
    for (const CommandRow& row : CommandRows) {
        QPushButton* button = new WrappedButton(caption_of(row.caption), this);
        button->setObjectName(QString::fromLatin1(row.name));
        place(button, row.place);
        use_font(button, row.font);
        button->setVisible(row.shown);
        if (!row.shown) maintenance_buttons_.push_back(button);
        connect(button, &QPushButton::clicked, this, row.click);
        this->*row.button = button;
        tab_chain.emplace_back(row.tab, button);
    }
    cmd_down->setAccessibleName(QStringLiteral("Previous entry"));
    cmd_up->setAccessibleName(QStringLiteral("Next entry"));
    cmd_corrections->setAccessibleName(QStringLiteral("Correction File"));
    Command1->setAccessibleName(QStringLiteral("No collaboration choice"));
}

void frm_ZEL::build_right_column(TabChain& tab_chain) {
    auto* line1 = new QFrame(this);
    line1->setObjectName(QStringLiteral("Line1"));
    line1->setGeometry(pixels(Line1Left), 0, 1, pixels(Line1Bottom) + 1);
    use_colours(line1, Default, Blue);

    Frame2 = new QFrame(this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    place(Frame2, Frame2Place);
    use_colours(Frame2, Default, PaleBlue);
    for (const PanelLabelRow& row : Frame2Rows) {
        auto* label = new QLabel(Frame2);
        label->setObjectName(QString::fromLatin1(row.name));
        use_caption_label(label, caption_of(row.caption));
        place(label, row.place);
        use_font(label, {PanelFamily, row.points, true});
        wrap_if_two_lines_high(label);
        use_colours(label, Blue, row.back);
        if (row.label) this->*row.label = label;
    }
    auto* usage = multi_line_box(Frame2);
    usage->setObjectName(QStringLiteral("Text2"));
    usage->setReadOnly(true);
    usage->setPlainText(QString(UsageText).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    place(usage, Text2Place);
    use_font(usage, {PanelFamily, Text2Points, false});
    use_colours(usage, Blue, PaleCyan);
    usage->setAccessibleName(QStringLiteral("Usage"));
    Text2 = usage;
    tab_chain.emplace_back(Text2Tab, usage);

    List2 = new SortedList(false, this);
    List2->setObjectName(QStringLiteral("List2"));
    place(List2, List2Place);
    use_colours(List2->view(), Blue, Cream);
    List2->setVisible(false);
    List2->view()->setAccessibleName(QStringLiteral("Kinds (upper box)"));
    connect(List2, &SortedList::chosen, this, [this] { List2_Click(); });
    tab_chain.emplace_back(List2Tab, List2->view());

    list1 = new SortedList(true, this);
    list1->setObjectName(QStringLiteral("list1"));
    place(list1, list1Place);
    use_colours(list1->edit_field(), Blue, Cream);
    use_colours(list1->view(), Blue, Cream);
    // The list's name and the finder's description follow what the list holds.
    list1->edit_field()->setAccessibleName(QStringLiteral("Find in the lower box"));
    connect(list1, &SortedList::chosen, this, [this] { list1_Click(); });
    tab_chain.emplace_back(list1Tab, list1->edit_field());
    tab_chain.emplace_back(list1Tab, list1->view());

    // The strip below the line's end and every control, the window's whole width.
    Notice = new NoticeLine(this, QRect(pixels(90), pixels(Line1Bottom) + 2,
                                        width() - pixels(180), height() - pixels(Line1Bottom) - 3));
    use_colours(Notice, Blue, Default);
}
