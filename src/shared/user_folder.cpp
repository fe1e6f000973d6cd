#include "shared/user_folder.h"

#include "data/regular_file.h"
#include "data/save_file.h"
#include "shared/app_state.h"
#include "shared/desktop_opener.h"
#include "shared/shared_texts.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <cerrno>
#include <unistd.h>

namespace tomarina {

namespace {

const QString& dat_name = AppState::dat_file;
const QString& help_name = AppState::help_file;
const QString& ini_name = AppState::ini_file;

// Reads a regular file whole. why says what kept a file that is there from being read; it stays empty
// for a missing one.
bool read_all(const QString& path, QByteArray& bytes, QString* why = nullptr) {
    QFile f;
    ReadReport report;
    if (open_regular_file(f, path, report)) {
        bytes = f.readAll();
        if (f.error() == QFileDevice::NoError) return true;
        report = {FileProblem::library_error, 0, f.errorString()};
    }
    if (why && report.failed())
        *why = shared_texts::source_not_readable.arg(shared_texts::read_reason(report));
    return false;
}

// Saves as save_file does, with why in the user's words.
bool save_told(const QString& path, const QByteArray& bytes, QString* why) {
    SaveReport report;
    if (save_file(path, bytes, &report)) return true;
    if (why) *why = shared_texts::describe(report);
    return false;
}

// Which file could not be put into the user's folder, and why.
QString copy_failure(const QString& name, const QString& why) {
    return shared_texts::copy_failed.arg(name, why);
}

QByteArray checksum_of(const QByteArray& bytes) {
    return QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex();
}

QByteArray remembered_checksum(const QString& checksum_file) {
    QByteArray bytes;
    if (!read_all(checksum_file, bytes)) return {};
    return bytes.trimmed();
}

// Why dir cannot be the user's folder, in Japanese; empty when it is (or has now been made) a folder the
// program can write.
QString unusable_folder_reason(const QString& dir) {
    using namespace shared_texts;
    if (dir.isEmpty()) return no_home;
    const QFileInfo info(dir);
    if ((info.exists() || info.isSymLink()) && !info.isDir()) return file_of_the_name;
    // A folder another user can change would hand the program their settings and their browser.
    if (const PathReport foreign = foreign_path_report(dir); foreign.failed()) return describe(foreign);
    errno = 0;
    if (!QDir().mkpath(dir)) return describe(save_report(errno ? errno : EACCES));
    if (::access(QFile::encodeName(dir).constData(), W_OK | X_OK) != 0) return describe(save_report(errno));
    return describe(foreign_path_report(dir));
}

} // namespace

QString installed_data_dir(const QString& program_dir) {
    if (program_dir.isEmpty()) return {};
    const QFileInfo data(QDir(program_dir).filePath(QStringLiteral(TOMARINA_INSTALLED_DATA_DIR)));
    if (!data.isDir() || !QFileInfo(data.filePath() + u'/' + dat_name).isFile()) return {};
    return QDir::cleanPath(data.absoluteFilePath());
}

QString user_data_dir() {
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return base.isEmpty() ? QString() : base + QStringLiteral("/tomarina");
}

QByteArray file_checksum(const QString& path) {
    QByteArray bytes;
    return read_all(path, bytes) ? checksum_of(bytes) : QByteArray();
}

bool refresh_directory_copy(const QString& source, const QString& target, const QString& checksum_file,
                            QString* why) {
    QByteArray fresh;
    QString read_why;
    if (!read_all(source, fresh, &read_why)) {
        if (why) *why = read_why;
        return read_why.isEmpty(); // none to give: the user's copy stays
    }
    const QByteArray fresh_sum = checksum_of(fresh);
    const QFileInfo target_info(target);
    if (target_info.exists() || target_info.isSymLink()) {
        if (!target_info.isFile() || target_info.isSymLink()) return true; // not ours to replace
        const QByteArray current = file_checksum(target);
        const QByteArray remembered = remembered_checksum(checksum_file);
        if (current == fresh_sum) // already the installed one: remember it so a newer one may replace it
            return remembered == fresh_sum || save_told(checksum_file, fresh_sum + '\n', why);
        if (current.isEmpty() || current != remembered) return true; // the user's own
    }
    return save_told(target, fresh, why) && save_told(checksum_file, fresh_sum + '\n', why);
}

bool refresh_help_copy(const QString& source, const QString& target, QString* why) {
    QByteArray fresh;
    if (!read_all(source, fresh)) return true;
    QByteArray current;
    if (read_all(target, current) && current == fresh) return true;
    return save_told(target, fresh, why);
}

bool prepare_user_folder(const QString& source_dir, const QString& user_dir, const QString& opener,
                         bool carry_user_files, QString* reason, bool* copy_failed, QString* help_notice) {
    const QString unusable = unusable_folder_reason(user_dir);
    if (!unusable.isEmpty()) {
        if (reason) *reason = unusable;
        return false;
    }
    if (copy_failed) *copy_failed = true; // from here on, the folder is there and only a copy can fail
    const QDir src(source_dir), dst(user_dir);
    const auto refuse = [reason](const QString& name, const QString& failure) {
        if (reason) *reason = copy_failure(name, failure);
        return false;
    };
    // Every copy is checked: a folder the program would run on without its directory, hotels or
    // settings would show an empty list, and a later save would write over what never came.
    QString why;
    const QString dat = dst.filePath(dat_name);
    const bool had_dat = QFileInfo(dat).isFile();
    const QString checksum = dst.filePath(QString::fromLatin1(installed_checksum_file));
    // A newer directory that does not fit leaves the user's copy, and is tried again at the next start.
    if (!refresh_directory_copy(src.filePath(dat_name), dat, checksum, &why) && !had_dat)
        return refuse(dat_name, why);
    // The user's hotels and settings of a program folder that cannot be written go along, before any new
    // settings file is made, which comes last: its presence tells a later start that the move is done.
    // Nothing already in the user's folder is replaced.
    if (carry_user_files) {
        for (const QString& name : {AppState::user_file, ini_name}) {
            const QFileInfo target(dst.filePath(name));
            if (target.exists() || target.isSymLink()) continue;
            QByteArray bytes;
            why.clear();
            if (!read_all(src.filePath(name), bytes, &why)) {
                if (why.isEmpty()) continue; // none to carry
                return refuse(name, why);
            }
            if (!save_told(target.filePath(), bytes, &why)) return refuse(name, why);
        }
    }
    why.clear();
    // Without the help the program still works: it goes on, but says so.
    if (!refresh_help_copy(src.filePath(help_name), dst.filePath(help_name), &why) && help_notice)
        *help_notice = copy_failure(help_name, why) + shared_texts::help_left_out;
    why.clear();
    if (!create_settings_with_opener(dst.filePath(ini_name), opener, &why) && !why.isEmpty())
        return refuse(ini_name, why);
    if (copy_failed) *copy_failed = false;
    return true;
}

QString choose_app_path(const ProgramFolderChoice& c) {
    return choose_program_folder(c).app_path;
}

FolderChoice choose_program_folder(const ProgramFolderChoice& c) {
    FolderChoice f;
    f.program_dir = c.program_dir;
    f.user_dir = c.user_dir;
    const QString installed = installed_data_dir(c.program_dir);
    if (installed.isEmpty() && c.program_dir_writable) {
        f.app_path = c.program_dir;
        return f;
    }
    const QString source = installed.isEmpty() ? c.program_dir : installed;
    // Not the first move when the user's folder already has settings from an earlier run.
    const bool first = !QFileInfo::exists(QDir(c.user_dir).filePath(ini_name));
    if (!prepare_user_folder(source, c.user_dir, c.opener, installed.isEmpty(), &f.unusable_reason,
                             &f.copy_failed, &f.help_notice)) {
        // The directory and help of the installation (or of the program folder), never written.
        f.app_path = source;
        f.read_only = true;
        return f;
    }
    f.app_path = c.user_dir;
    f.moved = installed.isEmpty() && first;
    return f;
}

FolderChoice choose_program_folder_for(const QString& program_dir) {
    const QFileInfo info(program_dir);
    return choose_program_folder(
        {program_dir, info.isDir() && info.isWritable(), user_data_dir(), desktop_opener_path()});
}

QString folder_choice_message(const FolderChoice& f) {
    using namespace shared_texts;
    if (f.read_only)
        return (f.copy_failed ? user_folder_copy_failed : user_folder_unusable)
                   .arg(f.user_dir.isEmpty() ? no_user_folder : f.user_dir, f.unusable_reason) +
               read_only_run;
    QString text;
    if (f.moved) text = moved_to_user_folder.arg(f.program_dir, f.user_dir);
    if (!f.help_notice.isEmpty())
        text += (text.isEmpty() ? QString() : QStringLiteral("\n\n")) + f.help_notice;
    return text;
}

QString read_only_folder_reason() {
    return shared_texts::read_only_folder_refusal;
}

} // namespace tomarina
