#pragma once

#include <QString>

// Earlier versions kept loaded tables and sorted lists in the program's cache folder
// (~/.cache/zel-kav), tens of megabytes that nothing reads any more. Removes those files from
// `folder`, and the folder when nothing else is in it; anything else there is left alone.
void remove_earlier_caches(const QString& folder);
