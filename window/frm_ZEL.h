#pragma once

#include "caption_label.h"
#include "entry_fields.h"
#include "entry_table.h"
#include "result.h"

#include <QStringList>
#include <QWidget>

#include <array>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

class QCheckBox;
class QFrame;
class QMenu;
class QPushButton;
class QRadioButton;
class Directory;
class ImportRound;
struct RoundFile;
class LookupOrders;
class NoticeLine;
struct PreparedOrders;
class SortedList;
struct CorrectionSnapshot;
struct SortedItems;
class TypingFinder;

// The program's one window. The control arrays and handlers carry the program's own names;
// each handler asks the plain functions of store/, lookup/ and output/ for its result and puts
// it into the controls.
class frm_ZEL : public QWidget {
    Q_OBJECT
  public:
    // `folder` is the working folder that holds the data file and receives the e-mail list. The
    // window shows `directory` and changes it only through its methods.
    frm_ZEL(Directory& directory, std::filesystem::path folder, QWidget* parent = nullptr);
    ~frm_ZEL() override;

    // Start-up: loads the data file and prepares the captions and the surname look-up.
    // Returns false, after telling the user why, when the data file cannot be loaded.
    bool Form_Load();
    // The same after the caller has loaded the table itself, with the load's result; no look-up
    // may have read the table before.
    bool Form_Load(const Result& loaded);
    // The same with the lists the loading thread prepared: the surnames' look-up opens
    // once they are sorted, in the background without holding up the window, and the other
    // lists are sorted in the background after them.
    bool Form_Load(const Result& loaded, PreparedOrders prepared);

    // Shows the maintenance buttons, takes dropped correction files and asks before closing
    // while a stored entry is not saved.
    void enter_maintenance_mode();

    // Takes in correction files one after another, in file-name order: each finds its person,
    // shows that entry and is reviewed field by field before anything is stored. A batch ends
    // with one message that sums it up and names its log; a single file speaks only when it is
    // refused or changes nothing. A file finished on the screen ("Edit first") holds the batch
    // until its entry is stored or its changes discarded; the window's title counts the files
    // left meanwhile. A new import stops a batch that waits.
    void import_correction_files(QStringList paths);
    // The batch waiting for the entry on the screen, if any.
    const ImportRound* waiting_round() const { return round_.get(); }

    // In maintenance mode (Ctrl+Z): takes back the last Store of the session and shows the
    // entry as it is again, or says why nothing was taken back.
    void undo_store();
    void import_correction_file(const QString& path) { import_correction_files({path}); }

    // The one way to another entry (a choice in the lower box, browsing, an import): asks about
    // changes not stored first, then shows `entry`. False when the compiler cancels.
    bool choose_entry(std::int16_t entry);

    // In maintenance mode: the window holds typing, ticks, choices, a Clear or an import that
    // the shown entry has not stored.
    bool has_unstored_changes() const;
    // Without maintenance mode: the window holds changes that no correction file written since
    // the entry was shown holds.
    bool has_unwritten_corrections() const;

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
    void label1_Click(int index);
    void list1_Click();
    void List2_Click();
    void cmd_corrections_Click();
    void cmd_e_mail_Click();
    void cmd_import_Click();

    // Finds `typed` in every text of every entry: the lower box lists the surnames of the
    // entries that hold it, as a look-up of a text category would.
    void find_everywhere(const QString& typed);
    // Alt+Down beside caption `label`: opens its look-up unless it is open, and goes to the list
    // that offers its values.
    void open_lookup_by_key(int label);

    // The lower box's menu, opened by a right click, the Menu key or Shift+F10 at `global`:
    // copy the e-mail addresses of the people it lists, save them or the shown entry as vCards.
    QMenu* show_lower_box_menu(const QPoint& global);
    void copy_listed_emails();
    void save_listed_vcards();
    void save_shown_vcard();
    // The E-mail box's menu: write an e-mail to the address shown, copy it, then the box's own
    // editing actions.
    QMenu* show_email_menu(const QPoint& global);
    void write_email();

    // For tests: the open look-up, which no control shows by itself.
    std::int16_t lookup_category_for_testing() const { return LookupCategory; }

    // Controls, as the window's layout names them.
    std::array<QWidget*, TextSlotCount> Text1{}; // QLineEdit, or QPlainTextEdit when multi-line
    std::array<CaptionLabel*, LabelCount> label1{};
    std::array<QRadioButton*, SalutationCaptions.size()> Opt_Mr_Mrs{};
    std::array<QCheckBox*, TitleFlagCount> chk_titel{};
    std::array<QCheckBox*, OrganizationFlagCount> Chk_organ{};
    std::array<QCheckBox*, EquipmentBoxCount> Chh_equipm{};
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
    QPushButton* cmd_import = nullptr;
    // The line at the window's foot that says where a correction file went.
    NoticeLine* Notice = nullptr;

  protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

  private:
    // One builder per control array, each reading its layout table; `tab_chain` collects the
    // controls that take the focus, with their TabIndex.
    using TabChain = std::vector<std::pair<int, QWidget*>>;
    void build_text_boxes(TabChain& tab_chain);
    void build_caption_labels();
    void build_title_row(TabChain& tab_chain);
    void build_kind_boxes(TabChain& tab_chain);
    void build_collaboration(TabChain& tab_chain);
    void build_command_buttons(TabChain& tab_chain);
    void build_right_column(TabChain& tab_chain);
    // Alt+Down in a box opens the look-up of its caption.
    void install_lookup_keys();
    // The finder over the lower box: Ctrl+F, the find across every text, the items' tooltips.
    void install_finder();
    // A key for each button, named in its tooltip.
    void install_shortcuts();

    // New's work; false when the compiler cancelled or the directory is full.
    bool add_entry();
    // Store's work; false, after telling the compiler why, when nothing was stored.
    bool store_entry();
    // The window once the shown entry was stored: the surname's caption blue, the directory
    // to be saved, and what the window shows is what the entry holds.
    void entry_stored();
    // Asks whether to store changes not stored before they would be dropped; false when the
    // compiler cancels (or the store was refused), which leaves everything as it was.
    bool settle_unstored_changes();
    // The same for a reader's changes: offers to write them to a correction file first.
    bool settle_unwritten_corrections();
    // Before the window leaves the entry it shows (another entry, closing): the question of
    // the mode the window is in.
    bool settle_changes_before_leaving();
    // Writes the correction file; false, after telling the user why, when it failed.
    bool write_corrections();
    // Highlights the shown entry in the lower box, if it lists it, without choosing it.
    void highlight_current_entry();
    // What the window shows now is what the shown entry holds.
    void mark_entry_shown();
    // The window shows a new entry, which holds nothing yet.
    void mark_new_entry_shown();
    // The surname the shown entry holds in the directory, and the words that say that storing
    // the window would empty it.
    QString held_surname() const;
    // The surname a question about the shown entry names: the one shown, else the entry's.
    QString asked_surname() const;
    QString empties_warning() const;

    // How one file of a batch ended.
    // Waits: the file is on the screen to be finished there. StopBatch: the compiler cancelled.
    enum class ImportEnd { Stored, Added, Unchanged, Skipped, Refused, Waits, StopBatch };
    // `note` takes the refusal, or the words for a file that changes nothing; `imported_` the
    // entry, surname and changes of a file that reached the review.
    ImportEnd import_one(const QString& path, QString& note);
    // Takes files of round_ until it waits or ends; at the end, the summary.
    void go_on_with_round();
    // The file on the screen was stored (or its changes discarded): the next one comes.
    void round_file_settled(bool stored);
    void show_files_left();
    // The folder the import dialog opens in, and remembering the one last used.
    QString import_folder() const;
    void remember_import_folder(const QString& file);

    // Saves the directory when an entry was stored; false, after telling the user, when the
    // save failed or was cancelled. A data file someone else saved since the load is never
    // overwritten: the compiler may save under another name instead.
    bool save_directory();
    // The data file changed since the load: offers to save the table under another name in its
    // folder. True when it was saved there.
    bool save_directory_elsewhere();
    QString data_file_path() const;

    // Form_Load's work but the look-up: the captions of the loaded table, or the failure told.
    bool show_loaded_directory(const Result& loaded);

    // Tells the user that `result` failed, and what that means for the window (`consequence`).
    void tell_failure(const Result& result, const QString& consequence = {});

    Directory& directory;
    const EntryTable& table; // the directory's, for reading
    const std::filesystem::path folder;
    std::int16_t LookupCategory = -1;
    // The look-up's sorted lists; they follow the table's generation, and forget() drops them early.
    std::unique_ptr<LookupOrders> lookup_orders_;
    // The list the last find filled: the items' tooltips name the text found while the lower
    // box shows that list.
    std::shared_ptr<const SortedItems> found_list_;
    // Finds as the user types in the finder; it keeps what it found last.
    std::unique_ptr<TypingFinder> typing_finder_;
    // The finder's hint and the lower box's name for screen readers, after its items changed.
    void describe_lower_box();
    void install_lower_box_menu();
    void install_email_menu();
    // The entries the lower box lists, each once, in its order.
    std::vector<std::int32_t> listed_entries() const;
    // Asks where, then writes the vCards of `entries` there.
    void save_vcards(const std::vector<std::int32_t>& entries, const QString& caption,
                     const QString& name);
    // Tells screen readers which entry the window now shows.
    void announce_shown_entry();

    std::vector<QPushButton*> maintenance_buttons_; // hidden unless in maintenance mode
    bool maintenance_ = false;
    bool unsaved_changes_ = false; // an entry was stored since the last save
    // An entry is on the screen (shown, or begun with New); Store needs one in maintenance mode.
    bool entry_shown_ = false;
    bool exiting_ = false; // EXIT saves what is stored and ends without a question
    // What the window showed when the entry was shown or stored.
    std::unique_ptr<CorrectionSnapshot> shown_;
    std::unique_ptr<ImportRound> round_; // the batch of correction files under way
    std::unique_ptr<RoundFile> imported_;

    // What set_text1 last gave each multi-line box: while the box still shows it, text1 gives
    // it back byte for byte, whatever mix of line ends it holds.
    std::array<QString, TextSlotCount> given_text_{};
    // Which boxes show a text cut short; they cannot be edited and keep their whole text in
    // given_text_, or as the table's bytes when show_record filled them.
    std::array<bool, TextSlotCount> shown_cut_{};
    std::array<std::string, TextSlotCount> cut_bytes_{};
    void show_stored_text(int s, std::string_view bytes);
};
