#pragma once

#include "atomic_file.h"
#include "entry_table.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <string>

// Where the program keeps files between runs that only save it work (the user's cache folder),
// and the build of the program that writes them: another build may read or sort otherwise, so
// a file of any other build is passed over.
struct CacheFolder {
    QString folder; // empty: nothing is read or written
    QString program_build;

    // Writes the file `name` whole or not at all, readable by the user alone (the folder too:
    // the files tell where a directory's texts stand), then removes all but the newest few of
    // the files whose names match `pattern` ("table-*.bin"). False when nothing was written.
    bool write(const QString& name, const QString& pattern,
               const std::function<void(std::string& piece, const PieceWriter& flush)>& produce)
        const;
};

// Tables kept between runs, so that a start on an unchanged data file takes its table as the
// last load left it instead of reading every item again. A kept table holds the numbers of
// every row and where each text stands in the data file's bytes; nothing of the texts
// themselves. It is used only when it was written for the same bytes (their hash and size), by
// the same program version and in this format, and its own hash holds; anything else is passed
// over and the file is read as always. Deleting the cache is always safe.
class KeptTables {
  public:
    // Whether `cache` may hold a table for a data file of `file_size` bytes: a file that has
    // none need not be hashed ahead of its parse.
    static bool kept_for_size(const CacheFolder& cache, std::uint64_t file_size);
    // Fills `table` with the table kept for the data file `file`, whose identity is `loaded`,
    // when one fits it; false, `table` as it was, otherwise.
    static bool read(const CacheFolder& cache, std::shared_ptr<const TextBytes> file,
                     const FileIdentity& loaded, EntryTable& table);
    // Keeps `table` for the next start, written whole or not at all; only the newest few are
    // kept. Only a table as its load left it is kept (its texts all stand in the file's
    // bytes); false when nothing was written. Takes a copy of its own, and lets go of each
    // column of numbers as soon as it is written.
    static bool keep(const CacheFolder& cache, EntryTable table);

  private:
    // Fills `table` from the kept table open at `fd`, whose status is `status`, when it was
    // kept for `file`, whose identity is `loaded`, and is whole.
    static bool read_open(int fd, const struct stat& status, const CacheFolder& cache,
                          const std::shared_ptr<const TextBytes>& file,
                          const FileIdentity& loaded, EntryTable& table);
};
