// Writes a made-up directory: generate_directory [entries] [folder]
#include "data_file.h"
#include "directory_generator.h"

#include <charconv>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    if (argc > 1 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::printf("Usage: generate_directory [ENTRIES] [FOLDER]\n"
                    "Writes a made-up directory of ENTRIES entries (0 to %d, by default %d, the\n"
                    "largest the data file allows), every text filled, as %s in FOLDER (by\n"
                    "default the working folder), replacing a file of that name.\n",
                    int(MaxEntryCount), int(MaxEntryCount), DataFileName);
        return 0;
    }
    int count = MaxEntryCount;
    if (argc > 1) {
        const char* end = argv[1] + std::strlen(argv[1]);
        if (std::from_chars(argv[1], end, count).ptr != end || count < 0 || count > MaxEntryCount) {
            std::fprintf(stderr,
                         "The number of entries must be 0 to %d, not \"%s\".\n"
                         "Usage: generate_directory [ENTRIES] [FOLDER]\n",
                         int(MaxEntryCount), argv[1]);
            return 2;
        }
    }
    const Result result = save_data_base_as(generate_directory(count),
                                              std::filesystem::path(argc > 2 ? argv[2] : ".") / DataFileName);
    if (!result.ok()) {
        std::fprintf(stderr, "%s\n", qPrintable(result.message));
        return 1;
    }
    return 0;
}
