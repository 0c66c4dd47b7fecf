#pragma once

#include "entry_table.h"

#include <array>
#include <string>

// Every fact about an entry's fields, once: which slot or column holds what, the captions of
// the controls that show it, and how messages name it. The reader's messages, the window's
// layout, Store, the correction file, the look-up and the e-mail list all read it here.

// The caption labels, by label1 index.
inline constexpr int LabelCount = 15;
inline constexpr std::array<const char*, LabelCount> LabelCaptions = {
    "Title",    "Surname",      "First Name (s)", "Mailing Address",    "City",
    "ZIP Code", "Country",      "Telephone",      "Fax",                "E-mail",
    "Position", "Organization", "Fields of Interest", "Laboratory Equipment", "Remarks"};
inline constexpr int TitleLabel = 0;
inline constexpr int SurnameLabel = 1;
inline constexpr int CityLabel = 4;
inline constexpr int CountryLabel = 6;
inline constexpr int OrganizationLabel = 11;
inline constexpr int InterestsLabel = 12;
inline constexpr int EquipmentLabel = 13;
inline constexpr int RemarksLabel = 14;

// Text slots with a name of their own in the code.
inline constexpr int OtherTitleSlot = 0;
inline constexpr int SurnameSlot = 1;
inline constexpr int FirstNamesSlot = 2;
inline constexpr int AddressSlot = 3;
inline constexpr int CitySlot = 4;
inline constexpr int ZipSlot = 5;
inline constexpr int CountrySlot = 6;
inline constexpr int TelephoneSlot = 7;
inline constexpr int FaxSlot = 8;
inline constexpr int EmailSlot = 9;
inline constexpr int PositionSlot = 10;
inline constexpr int FirstInterestSlot = 11; // six boxes, A to F
inline constexpr int InterestSlotCount = 6;
inline constexpr int FirstOtherEquipmentSlot = 17; // three boxes, A to C
inline constexpr int OtherEquipmentSlotCount = 3;
inline constexpr int RemarksSlot = 20;
inline constexpr int OtherOrganizationSlot = 21;

// Which caption a text slot belongs to, and how a message tells it from the caption's other
// boxes: `before` + caption + `after` ("other Organization", "Fields of Interest B").
struct TextSlotField {
    int label;
    const char* before;
    const char* after;
};
inline constexpr std::array<TextSlotField, TextSlotCount> TextSlotFields = {{
    {TitleLabel, "other ", ""},
    {1, "", ""},
    {2, "", ""},
    {3, "", ""},
    {4, "", ""},
    {5, "", ""},
    {6, "", ""},
    {7, "", ""},
    {8, "", ""},
    {9, "", ""},
    {10, "", ""},
    {InterestsLabel, "", " A"},
    {InterestsLabel, "", " B"},
    {InterestsLabel, "", " C"},
    {InterestsLabel, "", " D"},
    {InterestsLabel, "", " E"},
    {InterestsLabel, "", " F"},
    {EquipmentLabel, "other ", " A"},
    {EquipmentLabel, "other ", " B"},
    {EquipmentLabel, "other ", " C"},
    {RemarksLabel, "", ""},
    {OrganizationLabel, "other ", ""},
}};

// How messages name text slot `s` ("Surname", "Fields of Interest B", "other Organization").
std::string text_slot_caption(int s);

// The multi-line boxes; every other text box is one line high.
constexpr bool is_multi_line_slot(int s) {
    return s == AddressSlot || s == RemarksSlot;
}

// The option buttons and check boxes; a kind's number is its flag column.
inline constexpr std::array<const char*, 3> SalutationCaptions = {"Mr", "Mrs", "Ms"};
inline constexpr std::array<const char*, TitleFlagCount> TitleCaptions = {"Prof.", "Dr."};
inline constexpr std::array<const char*, OrganizationFlagCount> OrganizationCaptions = {
    "University", "Museum", "Geol.Survey", "Government", "Company", "private"};

// Equipment kinds 0 to 24 carry a caption and are offered in the look-up; boxes 25 and 26 have
// none and stay hidden; 27 is the statement about polished sections; columns 28 and 29 are
// kept for the data file only; 30 is the collaboration choice (0 none, 1 "all", 2 "some").
inline constexpr int NamedEquipmentKinds = 25;
inline constexpr int HiddenEquipmentBoxes = 2;
inline constexpr int PolishedSectionsFlag = NamedEquipmentKinds + HiddenEquipmentBoxes;
inline constexpr int EquipmentBoxCount = PolishedSectionsFlag + 1;
static_assert(CollaborationFlag == EquipmentBoxCount + 2);

struct FlagField {
    const char* caption; // of the check box; empty for a box without caption or a column without box
    const char* name;    // how messages name it when the caption cannot
};
inline constexpr std::array<FlagField, EquipmentFlagCount> EquipmentFields = {{
    {"Sample Prep.Lab.", ""},
    {"Polishing Machines", ""},
    {"Refl. Light Microsc.", ""},
    {"Microsc.Photom.", ""},
    {"VHN-Tester", ""},
    {"Cathodolum Microsc.", ""},
    {"IR-Microscope", ""},
    {"Raman-Microscope", ""},
    {"Electron Microprobe", ""},
    {"SEM", ""},
    {"SEM with EDS", ""},
    {"TEM", ""},
    {"SIMS", ""},
    {"PIXE", ""},
    {"ICP", ""},
    {"ICP-MS", ""},
    {"LAMMA", ""},
    {"LIMS", ""},
    {"XRF", ""},
    {"AFM", ""},
    {"XR Powder Diffrac.", ""},
    {"XR Single Crystal", ""},
    {"XR Microdiffractom.", ""},
    {"Image Analysis", ""},
    {"Wet Chem. Anal.", ""},
    {"", "equipment box 25"},
    {"", "equipment box 26"},
    {"I have access to a considerable collection of polished sections", "polished sections"},
    {"", "reserved equipment 28"},
    {"", "reserved equipment 29"},
    {"", "collaborative use"},
}};

// The data file's 63 items of an entry: the change date, the salutation, the flags in column
// order, then the text slots.
inline constexpr int ItemsPerEntry = 63;
inline constexpr int FirstTitleItem = 3;
inline constexpr int FirstOrganizationItem = FirstTitleItem + TitleFlagCount;
inline constexpr int FirstEquipmentItem = FirstOrganizationItem + OrganizationFlagCount;
inline constexpr int FirstTextItem = FirstEquipmentItem + EquipmentFlagCount;
static_assert(FirstTextItem + TextSlotCount - 1 == ItemsPerEntry);

// How messages name item `item` (1 to 63) of an entry, e.g. "Surname" for item 43.
std::string entry_item_name(int item);
