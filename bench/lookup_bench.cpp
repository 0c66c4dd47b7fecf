// Time from a label click or a list choice to the lists filled (and the window repainted), on
// the largest directory the data file can hold with every text filled.

#include "data_file.h"
#include "directory.h"
#include "directory_generator.h"
#include "directory_loading.h"
#include "email_addresses.h"
#include "frm_ZEL.h"
#include "list_filter.h"
#include "lookup_items.h"
#include "sorted_list.h"
#include "text_finder.h"
#include "vcard.h"

#include <QApplication>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QThreadPool>
#include <QTest>

#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <cstdio>
#include <memory>
#include <string>
#include <utility>

namespace {

long peak_rss_kib() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// The largest directory, every text filled; every entry ticks "University", so that one kind
// lists the whole directory.
EntryTable largest_directory() {
    EntryTable table = generate_directory(MaxEntryCount);
    for (int e = 1; e <= MaxEntryCount; ++e) table.OrganizationFlags[std::size_t(e)][0] = 1;
    return table;
}

struct Bench {
    Directory directory{largest_directory()};
    const EntryTable& table = directory.table();
    std::unique_ptr<frm_ZEL> window;
    Bench() {
        window = std::make_unique<frm_ZEL>(directory, ".");
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get())) std::puts("the window was not shown");
    }
};

Bench& bench() {
    static Bench instance;
    return instance;
}

// Lets the window lay out and repaint the lists, as the user would see them.
void settle() {
    QCoreApplication::processEvents();
}

void open_lookup(int label) {
    frm_ZEL& w = *bench().window;
    if (w.lookup_category_for_testing() != label) QTest::mouseClick(w.label1[std::size_t(label)], Qt::LeftButton);
    settle();
}

void report_counts(benchmark::State& state) {
    state.counters["list1 items"] = double(bench().window->list1->count());
    state.counters["List2 items"] = double(bench().window->List2->count());
}

// A click that opens a look-up, right after the click that closed it.
void label_click(benchmark::State& state) {
    frm_ZEL& w = *bench().window;
    const int label = int(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        open_lookup(label);
        QTest::mouseClick(w.label1[std::size_t(label)], Qt::LeftButton); // close
        settle();
        state.ResumeTiming();
        QTest::mouseClick(w.label1[std::size_t(label)], Qt::LeftButton);
        settle();
    }
    report_counts(state);
}

int row_with(const SortedList& list, std::int32_t item_data) {
    for (int row = 0; row < list.count(); ++row) {
        if (list.item_data(row) == item_data) return row;
    }
    return -1;
}

// A choice in the upper box: a check-box kind, or the middle free text.
void kind_choice(benchmark::State& state) {
    frm_ZEL& w = *bench().window;
    const int label = int(state.range(0));
    const bool free_text = state.range(1) != 0;
    open_lookup(label);
    const LookupCategoryRow& category = lookup_category(label);
    const int free_texts = w.List2->count() - category.check_box_kinds;
    const int row = row_with(*w.List2, free_text ? category.check_box_kinds + free_texts / 2 : 0);
    for (auto _ : state) {
        w.List2->set_list_index(row);
        settle();
    }
    report_counts(state);
}

// A choice in the lower box of the surname look-up.
void entry_choice(benchmark::State& state) {
    frm_ZEL& w = *bench().window;
    open_lookup(SurnameLabel);
    const int row = w.list1->count() / 2;
    for (auto _ : state) {
        w.list1->set_list_index(row);
        settle();
    }
    report_counts(state);
}

// The folder of a data file that holds the largest directory.
std::filesystem::path largest_data_file() {
    static QTemporaryDir dir;
    static const bool saved = [] {
        EntryTable table = largest_directory();
        table.TableModified = 1;
        return save_data_base(table, dir.path().toStdString()).ok();
    }();
    if (!saved) std::puts("the data file could not be written");
    return dir.path().toStdString();
}

// A window started afresh on the largest data file, as the program starts; the table outlives
// the window. `fewer` entries than the file holds leave room for New.
std::pair<std::unique_ptr<Directory>, std::unique_ptr<frm_ZEL>>
start_on_largest(benchmark::State& state, std::int16_t fewer = 0) {
    auto table = std::make_unique<Directory>();
    auto w = std::make_unique<frm_ZEL>(*table, largest_data_file());
    LoadedDirectory directory = load_directory(largest_data_file(), QLocale());
    directory.table.EntryCount = std::int16_t(directory.table.EntryCount - fewer);
    table->adopt(std::move(directory.table));
    if (!w->Form_Load(directory.loaded, std::move(directory.prepared)))
        state.SkipWithError("the data file did not load");
    w->show();
    if (!QTest::qWaitForWindowExposed(w.get())) state.SkipWithError("no window");
    return {std::move(table), std::move(w)};
}

// What the start's loading thread does on the largest data file: read it and take the snapshot
// its lists are sorted from.
void load_directory(benchmark::State& state) {
    for (auto _ : state) {
        LoadedDirectory directory = load_directory(largest_data_file(), QLocale());
        if (!directory.loaded.ok()) state.SkipWithError("the data file did not load");
        benchmark::DoNotOptimize(directory.prepared.sorting);
    }
}

// The first click on each label after a start on the data file, `range(1)` ms after the window
// is shown: 0 is a click the moment it shows, before the background sorting is done.
void first_click(benchmark::State& state) {
    const int label = int(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        auto [table, w] = start_on_largest(state);
        w->activateWindow();
        if (!QTest::qWaitForWindowActive(w.get())) state.SkipWithError("no window");
        QTest::qWait(int(state.range(1)));
        // The surname look-up is open after the start: the first click on it closes it. A user
        // moves the mouse onto the label before clicking it.
        if (w->lookup_category_for_testing() == label)
            QTest::mouseClick(w->label1[std::size_t(label)], Qt::LeftButton);
        QTest::mouseMove(w->label1[std::size_t(label)]);
        settle();
        state.ResumeTiming();
        QTest::mouseClick(w->label1[std::size_t(label)], Qt::LeftButton);
        settle();
        state.PauseTiming();
        w.reset();
        table.reset();
        state.ResumeTiming();
    }
}

// Store (0), New (1) or closing the window (2) right after a click on "City" has set the
// background sorting off: none of them may wait for it.
void while_sorting(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        // A full directory would refuse New with a message; one entry less takes one.
        auto [table, w] = start_on_largest(state, state.range(0) == 1 ? 1 : 0);
        QTest::mouseClick(w->label1[4], Qt::LeftButton);
        settle();
        state.ResumeTiming();
        if (state.range(0) == 0) w->cmd_store_Click();
        if (state.range(0) == 1) w->cmd_new_Click();
        if (state.range(0) == 2) w->close();
        settle();
        state.PauseTiming();
        w.reset();
        table.reset();
        state.ResumeTiming();
    }
}

// One keystroke in the finder, from the key to the list painted: `typed` is already in the
// field, `range(1)` picks what it holds before the key.
const char* const finder_prefixes[] = {"", "l", "sulphid"};

void finder_keystroke(benchmark::State& state) {
    frm_ZEL& w = *bench().window;
    open_lookup(int(state.range(0)));
    QLineEdit* finder = w.list1->edit_field();
    finder->setFocus();
    const QString before = QString::fromLatin1(finder_prefixes[state.range(1)]);
    int shown = 0;
    for (auto _ : state) {
        state.PauseTiming();
        finder->setText(before);
        w.list1->narrow(before);
        settle();
        state.ResumeTiming();
        QTest::keyClick(finder, Qt::Key_E);
        w.list1->view()->viewport()->repaint();
        settle();
        shown = w.list1->count();
    }
    state.counters["items shown"] = double(shown);
    state.counters["items"] = double(w.list1->items()->rows.size());
    finder->clear();
    w.list1->narrow({});
}

// One keystroke while the lower box lists nothing (the surname look-up closed), so that typing
// finds in every box: the key after `before`, from the key to the found people painted.
const struct {
    const char* before;
    Qt::Key key;
} every_box_keys[] = {{"", Qt::Key_K}, {"kirun", Qt::Key_A}, {"microprob", Qt::Key_E},
                      {"", Qt::Key_E}};

void finder_keystroke_every_box(benchmark::State& state) {
    frm_ZEL& w = *bench().window;
    const auto& [before_text, key] = every_box_keys[state.range(0)];
    const QString before = QString::fromLatin1(before_text);
    open_lookup(SurnameLabel);
    QTest::mouseClick(w.label1[SurnameLabel], Qt::LeftButton); // closes it: nothing listed
    settle();
    QLineEdit* finder = w.list1->edit_field();
    finder->setFocus();
    for (auto _ : state) {
        state.PauseTiming();
        finder->clear();
        w.find_everywhere({});
        if (!before.isEmpty()) {
            finder->setText(before);
            w.find_everywhere(before);
        }
        settle();
        state.ResumeTiming();
        QTest::keyClick(finder, key);
        w.list1->view()->viewport()->repaint();
        settle();
    }
    state.counters["entries found"] = double(w.list1->count());
    finder->clear();
    w.find_everywhere({});
}

// The first keystroke in a list not narrowed before: the folding of its texts, once per list.
void finder_folding(benchmark::State& state) {
    frm_ZEL& w = *bench().window;
    open_lookup(int(state.range(0)));
    const LookupList items = w.list1->items();
    for (auto _ : state) {
        ListFilter filter;
        benchmark::DoNotOptimize(filter.filter(items, QStringLiteral("e")));
    }
}

// A find across every text of every entry, after the first (which sorts the surnames).
const char* const find_words[] = {"person12345@", "kiruna", "pyrite", "e", "microprobe"};

void find_everywhere(benchmark::State& state) {
    frm_ZEL& w = *bench().window;
    const QString word = QString::fromLatin1(find_words[state.range(0)]);
    w.find_everywhere(word);
    for (auto _ : state) {
        // A text that does not extend the last one searches every entry.
        state.PauseTiming();
        w.find_everywhere({});
        state.ResumeTiming();
        w.find_everywhere(word);
        settle();
    }
    state.counters["entries found"] = double(w.list1->count());
}

// The same finds without the window: the search of every text alone.
void find_in_texts(benchmark::State& state) {
    const QString word = QString::fromLatin1(find_words[state.range(0)]);
    std::size_t found = 0;
    for (auto _ : state) found = find_in_every_text(bench().table, word).size();
    state.counters["entries found"] = double(found);
}

// The first find after the table changed: the surnames sorted again, then the find of
// "kiruna" (1) or "microprobe" (4), found in the captions of ticked boxes.
void find_everywhere_first(benchmark::State& state) {
    frm_ZEL& w = *bench().window;
    for (auto _ : state) {
        state.PauseTiming();
        // The sorting the last find set off has ended, as it has long before a user who
        // stored an entry goes on to find.
        QThreadPool::globalInstance()->waitForDone();
        Directory& directory = bench().directory;
        directory.choose(1);
        if (!directory.store(entry_values(directory.table(), 1)).ok())
            state.SkipWithError("not stored");
        state.ResumeTiming();
        w.find_everywhere(QString::fromLatin1(find_words[state.range(0)]));
        settle();
    }
}

// The vCards of every entry: made in memory (0), or written to a file (1).
void vcards_of_everyone(benchmark::State& state) {
    const EntryTable& table = bench().table;
    std::vector<std::int32_t> entries(std::size_t(table.EntryCount));
    for (std::int32_t e = 1; e <= table.EntryCount; ++e) entries[std::size_t(e - 1)] = e;
    QTemporaryDir dir;
    qsizetype bytes = 0;
    for (auto _ : state) {
        if (state.range(0) == 0) {
            bytes = vcards(table, entries).size();
        } else if (!write_vcards(table, entries, dir.filePath("everyone.vcf")).ok()) {
            state.SkipWithError("the vCard file was not written");
        }
    }
    state.counters["bytes"] = double(bytes);
}

// Copying the e-mail addresses of everyone the surname look-up lists, as the menu does.
void copy_everyones_emails(benchmark::State& state) {
    frm_ZEL& w = *bench().window;
    open_lookup(SurnameLabel);
    for (auto _ : state) w.copy_listed_emails();
    state.counters["people"] = double(w.list1->count());
}

// What the clicks cost without the widgets: deciding the items alone.
void items_only(benchmark::State& state) {
    const EntryTable& table = bench().table;
    const int label = int(state.range(0));
    const std::vector<std::string> captions(std::size_t(lookup_category(label).check_box_kinds),
                                            "caption");
    std::size_t items = 0;
    for (auto _ : state) {
        const auto result = lookup_category(label).kind == LookupKind::TwoStep
                                ? kind_items(table, label, captions)
                                : value_items(table, label);
        items = result.size();
        benchmark::DoNotOptimize(result.data());
    }
    state.counters["items"] = double(items);
}

} // namespace

BENCHMARK(label_click)->DenseRange(0, 14)->Unit(benchmark::kMillisecond);
BENCHMARK(kind_choice)
    ->ArgsProduct({{OrganizationLabel, EquipmentLabel}, {0, 1}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(entry_choice)->Unit(benchmark::kMillisecond);
BENCHMARK(load_directory)->Unit(benchmark::kMillisecond);
BENCHMARK(first_click)
    ->ArgsProduct({benchmark::CreateDenseRange(0, 13, 1), {0, 500}})
    ->Iterations(1)
    ->Repetitions(5)
    ->ReportAggregatesOnly()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(while_sorting)
    ->DenseRange(0, 2)
    ->Iterations(1)
    ->Repetitions(5)
    ->ReportAggregatesOnly()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(items_only)
    ->Args({SurnameLabel})
    ->Args({12})
    ->Args({EquipmentLabel})
    ->Unit(benchmark::kMillisecond);

BENCHMARK(finder_keystroke)
    ->ArgsProduct({{SurnameLabel, 4 /* City */, InterestsLabel}, {0, 1, 2}})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(finder_keystroke_every_box)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(finder_folding)->Args({SurnameLabel})->Args({InterestsLabel})->Unit(benchmark::kMillisecond);
BENCHMARK(find_everywhere)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);
BENCHMARK(find_in_texts)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);
BENCHMARK(find_everywhere_first)->DenseRange(1, 4, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(vcards_of_everyone)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);
BENCHMARK(copy_everyones_emails)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // A real locale's collation, as a user has; the C locale would compare bytes.
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    benchmark::Initialize(&argc, argv);
    const long before = peak_rss_kib();
    bench();
    std::printf("largest directory: %d entries, peak memory %ld MiB before it, %ld MiB with it\n",
                int(bench().table.EntryCount), before / 1024, peak_rss_kib() / 1024);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    bench().window.reset(); // before the application goes
    std::printf("peak memory after every look-up: %ld MiB\n", peak_rss_kib() / 1024);
    return 0;
}
