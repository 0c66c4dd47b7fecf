#pragma once

#include <QString>

// What tells this build of the program from every other: the version and the build ID the
// linker puts in the program (a hash of the program's own file where it put none). The cache
// is keyed by it, so that a rebuilt program never reads what an earlier one wrote.
QString build_identity();
