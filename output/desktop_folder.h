#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// The desktop folder on Windows, from the answers of the system: the system-directory buffer
// and the user-name buffer as the calls leave them (the text, its NUL, then the blanks the
// buffer was filled with) and the platform identifier (1 for the 95/98 family, 2 for NT).
// nullopt when the profile form needs a user name and the buffer holds none.
std::optional<std::string> windows_desktop_folder(std::string_view system_directory,
                                                  std::int16_t platform_id,
                                                  std::string_view user_name);

// Where the correction file goes, or why it cannot go anywhere.
struct DesktopFolder {
    QString path;  // ends with a separator
    QString error; // empty when `path` is usable; else the reason, for the user
};

// The one question the correction file asks of the platform.
class DesktopPlatform {
  public:
    virtual ~DesktopPlatform() = default;
    // The user's desktop folder, created when it does not exist yet.
    virtual DesktopFolder desktop_folder() const = 0;
};

// The desktop as the desktop environment names it (the XDG desktop folder on Linux, usually
// ~/Desktop).
class StandardDesktop final : public DesktopPlatform {
  public:
    DesktopFolder desktop_folder() const override;
};
