#include "desktop_folder.h"

#include <QDir>
#ifdef Q_OS_WIN
#include <windows.h>
#endif
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

Result StandardDesktop::desktop_folder() const {
    // Qt falls back to the root folder when HOME is unset or empty; a desktop there is no
    // user's, and as root the program would create it. Only a home the environment names
    // counts.
    const QString home = QDir::cleanPath(qEnvironmentVariable("HOME"));
    if (home.isEmpty())
        return Result::failure(QStringLiteral(
            "The home folder is not known (the variable HOME is not set or empty), so there is no "
            "desktop folder to write to. Nothing was created."));
    if (QDir::isRelativePath(home))
        return Result::failure(
            QStringLiteral("The home folder \"%1\" (the variable HOME) is not a full path, so "
                           "there is no desktop folder to write to. Nothing was created.")
                .arg(QDir::toNativeSeparators(home)));

    // A desktop in the root folder would be everyone's, and a home that is not there is no
    // home: neither is made.
    if (QDir(home).isRoot())
        return Result::failure(
            QStringLiteral("The home folder is the file system's root \"%1\" (the variable "
                           "HOME), which is no user's home, so there is no desktop folder to "
                           "write to. Nothing was created.")
                .arg(QDir::toNativeSeparators(home)));
    const QFileInfo home_info(home);
    if (!home_info.isDir())
        return Result::failure(
            QStringLiteral("The home folder \"%1\" (the variable HOME) %2, so there is no "
                           "desktop folder to write to. Nothing was created.")
                .arg(QDir::toNativeSeparators(home),
                     home_info.exists() ? QStringLiteral("is a file, not a folder")
                                        : QStringLiteral("does not exist")));

    const QString folder =
        QDir::cleanPath(QStandardPaths::writableLocation(QStandardPaths::DesktopLocation));
    const QString home_prefix = home.endsWith(u'/') ? home : home + u'/';
    if (QDir::isRelativePath(folder) || (folder != home && !folder.startsWith(home_prefix)))
        return Result::failure(
            QStringLiteral("The desktop folder \"%1\" lies outside the home folder \"%2\"; "
                           "nothing is written there.")
                .arg(QDir::toNativeSeparators(folder), QDir::toNativeSeparators(home)));

    const QFileInfo info(folder);
    if (info.isSymLink() && !info.exists())
        return Result::failure(
            QStringLiteral("The desktop folder \"%1\" is a link to \"%2\", a folder that does "
                           "not exist.")
                .arg(QDir::toNativeSeparators(folder),
                     QDir::toNativeSeparators(info.symLinkTarget())));
    if (info.exists() && !info.isDir())
        return Result::failure(QStringLiteral("The desktop folder \"%1\" is a file, not a folder.")
                                   .arg(QDir::toNativeSeparators(folder)));

    // The usage text sends the user to the desktop, so a missing desktop folder is made; the
    // folders above it are the user's to make.
    std::error_code error;
    std::filesystem::create_directory(folder.toStdU16String(), error);
    if (!QFileInfo(folder).isDir())
        return Result::failure(
            QStringLiteral("The desktop folder \"%1\" could not be created: %2.")
                .arg(QDir::toNativeSeparators(folder), QString::fromStdString(error.message())));
    return Result::success(folder.endsWith(u'/') ? folder : folder + u'/');
}

#ifdef Q_OS_WIN
Result WindowsDesktop::desktop_folder() const {
    // The buffers as the calls leave them: filled with blanks, then the answer and its NUL.
    std::string system(256, ' ');
    GetSystemDirectoryA(system.data(), UINT(system.size()));
    std::string user(30, ' ');
    DWORD user_size = DWORD(user.size());
    GetUserNameA(user.data(), &user_size);
    OSVERSIONINFOA version{};
    version.dwOSVersionInfoSize = sizeof version;
    const std::int16_t platform_id =
        GetVersionExA(&version) ? std::int16_t(version.dwPlatformId) : std::int16_t(2);
    const std::optional<std::string> folder = windows_desktop_folder(system, platform_id, user);
    if (!folder)
        return Result::failure(QStringLiteral("The system did not give the user name that "
                                              "names the desktop folder."));
    return Result::success(QString::fromLocal8Bit(folder->data(), qsizetype(folder->size())));
}
#endif

const DesktopPlatform& this_desktop() {
#ifdef Q_OS_WIN
    static const WindowsDesktop desktop;
#else
    static const StandardDesktop desktop;
#endif
    return desktop;
}
