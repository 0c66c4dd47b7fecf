#include "desktop_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <filesystem>
#include <system_error>

namespace {

std::string_view trim_blanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

} // namespace

std::optional<std::string> windows_desktop_folder(std::string_view system_directory,
                                                  std::int16_t platform_id,
                                                  std::string_view user_name) {
    // Only blanks are trimmed: the NUL after the system directory stays, and lies behind the
    // last backslash, so it never reaches the folder.
    const std::string_view system = trim_blanks(system_directory);
    const auto backslash = system.rfind('\\');
    const std::string windows = backslash == std::string_view::npos
                                    ? std::string()
                                    : std::string(system.substr(0, backslash + 1));

    if (platform_id == 1) return windows + "Desktop\\";

    // The name ends with its NUL. A buffer of blanks means the query failed (or the name did
    // not fit); there is then no profile to name.
    std::string_view name = trim_blanks(user_name);
    if (name.empty()) return std::nullopt;
    name.remove_suffix(1);
    return windows + "Profiles\\" + std::string(name) + "\\Desktop\\";
}

DesktopFolder StandardDesktop::desktop_folder() const {
    const QString location = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (location.isEmpty())
        return {{}, QStringLiteral("The system names no desktop folder for this user.")};

    // The usage text sends the user to the desktop, so a missing desktop folder is made.
    const QString folder = QDir::cleanPath(location);
    std::error_code error;
    std::filesystem::create_directories(folder.toStdU16String(), error);
    const QFileInfo info(folder);
    if (info.exists() && !info.isDir())
        return {{},
                QStringLiteral("The desktop folder \"%1\" is a file, not a folder.")
                    .arg(QDir::toNativeSeparators(folder))};
    if (!info.isDir())
        return {
            {},
            QStringLiteral("The desktop folder \"%1\" could not be created: %2.")
                .arg(QDir::toNativeSeparators(folder), QString::fromStdString(error.message()))};
    return {folder.endsWith(u'/') ? folder : folder + u'/', {}};
}
