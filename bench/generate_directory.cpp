// Writes a made-up directory: generate_directory [entries] [folder]
#include "data_file.h"
#include "directory_generator.h"

#include <charconv>
#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
    int count = MaxEntryCount;
    if (argc > 1) {
        const char* end = argv[1] + std::strlen(argv[1]);
        if (std::from_chars(argv[1], end, count).ptr != end || count < 0 || count > MaxEntryCount) {
            std::fprintf(stderr, "The number of entries must be 0 to %d, not \"%s\".\n",
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
