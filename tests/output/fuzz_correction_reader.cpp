#include "correction_file.h"
#include "correction_import.h"
#include "correction_window.h"
#include "import_review.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>

namespace {
void check(bool condition) {
    if (!condition) std::abort();
}
} // namespace

// Any input is either refused with a message, or read into a window that, written and read
// again, comes back the same: reviewed against that window, the file changes nothing, and a
// field it differs in can only be one the file can be read two ways in.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const CorrectionSnapshot empty = window_snapshot();
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const CorrectionImport imported = import_correction(bytes, QStringLiteral("fuzz"), empty);
    if (!imported.window) {
        check(!imported.result.ok() && !imported.result.message.isEmpty());
        return 0;
    }
    check(imported.result.ok());
    const CorrectionSnapshot& window = *imported.window;
    const QByteArray again = encode_correction_text(correction_text(window));
    const CorrectionImport second = import_correction(again, QStringLiteral("fuzz"), empty);
    check(second.window.has_value() && second.quote_marks.isEmpty());
    const ImportReview review = review_correction(window, second);
    check(review.window == window);
    check(std::all_of(review.differences.begin(), review.differences.end(),
                      [](const FieldDifference& d) { return d.two_ways(); }));
    return 0;
}
