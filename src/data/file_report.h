#pragma once

#include <QString>

namespace tomarina {

// What kept a file from being read or saved. The data layer only says what happened; the layer above
// words it for the user (shared/shared_texts.h) or for the tool's English messages.
enum class FileProblem {
    none,
    system_error,               // error_number holds the system's reason
    not_a_regular_file,         // a folder, a named pipe, a device: never opened, never replaced
    link_of_another_user,       // a symbolic link on the way belongs to another user and is not followed
    link_to_another_users_file, // a save through a link would replace another user's file
    read_failed,                // reading stopped part way
    too_large,                  // more than the program reads
    out_of_memory,
    library_error,   // detail holds the library's own words
    cannot_encode,   // a text has no code page 932 form
    unread_this_run, // a save refused: the file there could not be read in this run (unread says why)
};

// The reading of one file: none when it was read (or is simply missing).
struct ReadReport {
    FileProblem problem = FileProblem::none;
    int error_number = 0;
    QString detail;
    bool failed() const { return problem != FileProblem::none; }
    bool operator==(const ReadReport&) const = default;
};

// The saving of one file: none when it was saved.
struct SaveReport {
    FileProblem problem = FileProblem::none;
    int error_number = 0;
    ReadReport unread;
    bool failed() const { return problem != FileProblem::none; }
};

// Why another user could change what a path holds (regular_file.h), naming the file or folder.
enum class PathProblem {
    none,
    link_of_another_user,  // a symbolic link on the way to path belongs to another user
    cannot_check,          // path could not be looked at; error_number says why, when it is known (not 0)
    owned_by_another_user, // path belongs to someone else
    writable_by_others,    // someone else can write path
};
struct PathReport {
    PathProblem problem = PathProblem::none;
    QString path;
    int error_number = 0;
    bool failed() const { return problem != PathProblem::none; }
};

// The report of an error number of the system or of the program's own reasons (regular_file.h).
ReadReport read_report(int error_number);
SaveReport save_report(int error_number);

} // namespace tomarina
