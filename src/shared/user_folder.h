#pragma once

#include <QByteArray>
#include <QString>

namespace tomarina {

// Where the installed program finds its directory and help file, relative to its own folder.
#ifndef TOMARINA_INSTALLED_DATA_DIR
#define TOMARINA_INSTALLED_DATA_DIR "../share/tomarina"
#endif

// The installed share/tomarina folder when program_dir is the bin/ folder of an installation, else empty.
QString installed_data_dir(const QString& program_dir);

// The user's own program folder: $XDG_DATA_HOME/tomarina (by default ~/.local/share/tomarina).
QString user_data_dir();

// Remembers, beside the user's tomarina.dat, the checksum of the copy the program put there.
inline constexpr char installed_checksum_file[] = ".tomarina.dat.sha256";

QByteArray file_checksum(const QString& path);

// Brings the user's directory file up to date with the source: copied when missing; replaced while it is
// still the copy put there before (its checksum matches the remembered one); a file the user put there
// is kept. False when a copy failed or a source that is there could not be read; why then says why.
bool refresh_directory_copy(const QString& source, const QString& target, const QString& checksum_file,
                            QString* why = nullptr);

// The help file is the program's own: always the source's. False, with why, when it could not be copied.
bool refresh_help_copy(const QString& source, const QString& target, QString* why = nullptr);

// Fills user_dir from source_dir (directory file, help file; with carry_user_files also the user file and
// settings the user folder lacks) and gives a new folder's settings the desktop opener. False when the
// folder cannot be made or written, or a file it lacks could not be copied there (or read); reason then
// names the file and says why, in Japanese, and copy_failed tells a failed copy into a folder that is
// there from a folder that cannot be used. A help file that could not be copied leaves the folder
// usable; help_notice then says so.
bool prepare_user_folder(const QString& source_dir, const QString& user_dir, const QString& opener,
                         bool carry_user_files = false, QString* reason = nullptr,
                         bool* copy_failed = nullptr, QString* help_notice = nullptr);

struct ProgramFolderChoice {
    QString program_dir;       // folder of the program file
    bool program_dir_writable; // can files be written there
    QString user_dir;          // the user's own program folder
    QString opener;            // desktop opener for a new folder's settings
};

// app_path: the program's folder when it is writable and not an installation (exactly as on Windows);
// otherwise the user's folder, prepared from the installed files or from the program folder's own. When
// the user's folder cannot be made, the program's folder after all.
QString choose_app_path(const ProgramFolderChoice& c);

// The choice with what the start-up tells the user about it, once.
struct FolderChoice {
    QString app_path;
    // The user's folder could not be made or written (unusable_reason says why): the program goes on with
    // its own folder's files (or the installed ones) and writes none of them.
    bool read_only = false;
    QString unusable_reason;
    bool copy_failed = false; // the folder is there, only a copy into it failed
    // The help file could not be copied into the user's folder, why; the run goes on.
    QString help_notice;
    // The first move to the user's folder because the program's own folder cannot be written.
    bool moved = false;
    QString program_dir;
    QString user_dir;
};
FolderChoice choose_program_folder(const ProgramFolderChoice& c);
FolderChoice choose_program_folder_for(const QString& program_dir);

// The start-up's message about the choice ("エラーメッセージ" when unusable), or empty when there is none.
// A user folder that another user can change counts as unusable.
QString folder_choice_message(const FolderChoice& f);

// Why a save is refused while the program runs on its folder's files read-only (the user's folder could
// not be used, or another copy may be using the folder).
QString read_only_folder_reason();

} // namespace tomarina
