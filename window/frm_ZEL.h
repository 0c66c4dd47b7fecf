#pragma once

#include "entry_table.h"
#include "lookup_orders.h"

#include <QLabel>
#include <QWidget>

#include <array>
#include <cstdint>
#include <filesystem>

class QCheckBox;
class QFrame;
class QPushButton;
class QRadioButton;
class SortedList;

// A caption label that reports a click with its array index.
class ClickLabel : public QLabel {
    Q_OBJECT
  public:
    ClickLabel(int index, QWidget* parent);
  signals:
    void clicked(int index);

  protected:
    void mousePressEvent(QMouseEvent* event) override;

  private:
    int index_;
};

// The program's one window. The control arrays and handlers carry the program's own names;
// handlers of the look-up live in lookup/, those of the output files in output/.
class frm_ZEL : public QWidget {
    Q_OBJECT
  public:
    // `folder` is the working folder that holds the data file and receives the e-mail list.
    frm_ZEL(EntryTable& table, std::filesystem::path folder, QWidget* parent = nullptr);

    // Start-up: loads the data file and prepares the captions and the surname look-up.
    // Returns false, after telling the user why, when the data file cannot be loaded.
    bool Form_Load();

    EntryTable& table;
    const std::filesystem::path folder;
    std::int16_t LookupCategory = -1;
    // The look-up's sorted lists; whatever changes the table calls forget() on it first.
    LookupOrders lookup_orders{table};

    // The text of Text1(s) with line breaks as CR LF, and setting it from such a text.
    QString text1(int s) const;
    void set_text1(int s, const QString& text);

    // Entry display and clearing.
    void show_record();
    void clear_all();

    // Handlers, one per control or control array.
    void cmd_up_Click();
    void cmd_down_Click();
    void cmd_new_Click();
    void cmd_store_Click();
    void cmd_clear_Click();
    void cmd_EXIT_Click();
    void Command1_Click();
    void label1_Click(int index); // lookup/
    void list1_Click();           // lookup/
    void List2_Click();           // lookup/
    void cmd_corrections_Click(); // output/
    void cmd_e_mail_Click();      // output/

    // Controls, as the window's layout names them.
    std::array<QWidget*, 22> Text1{}; // QLineEdit, or QPlainTextEdit for 3 and 20
    std::array<ClickLabel*, 15> label1{};
    std::array<QRadioButton*, 3> Opt_Mr_Mrs{};
    std::array<QCheckBox*, 2> chk_titel{};
    std::array<QCheckBox*, 6> Chk_organ{};
    std::array<QCheckBox*, 28> Chh_equipm{};
    std::array<QRadioButton*, 2> Option1{};
    QFrame* Frame1 = nullptr;
    QFrame* Frame2 = nullptr;
    SortedList* List2 = nullptr;
    SortedList* list1 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* Label5 = nullptr;
    QWidget* Text2 = nullptr;
    QPushButton* cmd_up = nullptr;
    QPushButton* cmd_down = nullptr;
    QPushButton* cmd_corrections = nullptr;
    QPushButton* cmd_new = nullptr;
    QPushButton* cmd_store = nullptr;
    QPushButton* cmd_clear = nullptr;
    QPushButton* cmd_EXIT = nullptr;
    QPushButton* cmd_e_mail = nullptr;
    QPushButton* Command1 = nullptr;

  private:
    bool current_row_exists() const;
    // The name under which a message speaks of Text1(s): its caption, and which box of it.
    QString text_box_name(int s) const;

    // What set_text1 last gave each multi-line box: while the box still shows it, text1 gives
    // it back byte for byte, whatever mix of line ends it holds.
    std::array<QString, TextSlotCount> given_text_{};
};
