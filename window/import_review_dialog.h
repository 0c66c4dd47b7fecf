#pragma once

#include "import_review.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class QWidget;

enum class ReviewAnswer { Store, EditFirst, Skip };

// Shows how the correction file `file_name` differs from the entry it corrects (`person`, as
// the window names it), with `notes` about the file above, and asks what to do: Store, "Edit
// first" or Skip, which Escape gives as well. Store is the default unless there are
// `warnings` (shown first): then Return skips. Line breaks inside texts show as "¶"; a field
// read two ways shows each reading.
ReviewAnswer review_import(QWidget* parent, const QString& file_name, const QString& person,
                           const std::vector<FieldDifference>& differences,
                           const QStringList& notes = {}, const QStringList& warnings = {});

// An empty hook restores the dialog.
using ReviewHook = std::function<ReviewAnswer(const QString& file_name,
                                              const std::vector<FieldDifference>& differences)>;
void set_review_hook_for_testing(ReviewHook hook);
