#pragma once

#include "result.h"

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

// The one question the correction file asks of the platform.
class DesktopPlatform {
  public:
    virtual ~DesktopPlatform() = default;
    // The user's desktop folder, created when it does not exist yet: its path, ending with a
    // separator, or why it cannot be used.
    virtual Result desktop_folder() const = 0;
};

#ifdef Q_OS_WIN
// The desktop folder as worked out from the system's answers, by windows_desktop_folder.
class WindowsDesktop final : public DesktopPlatform {
  public:
    Result desktop_folder() const override;
};
#endif

// The desktop as the desktop environment names it (the XDG desktop folder on Linux, usually
// ~/Desktop), used only inside the home folder that HOME names: without HOME, for a home that
// does not exist or is the root folder, or for a desktop elsewhere or a link to nowhere, it is
// refused and nothing is created. Only the desktop folder itself is ever created.
class StandardDesktop final : public DesktopPlatform {
  public:
    Result desktop_folder() const override;
};

// The desktop of the system the program was built for.
const DesktopPlatform& this_desktop();
