#include "shared/shared_texts.h"

#include "data/regular_file.h"

#include <cerrno>

namespace tomarina::shared_texts {

QString read_reason(const ReadReport& r) {
    switch (r.problem) {
    case FileProblem::none:
    case FileProblem::cannot_encode:
    case FileProblem::unread_this_run:
        return {};
    case FileProblem::not_a_regular_file:
        return read_not_regular;
    case FileProblem::link_of_another_user:
        return read_foreign_link;
    case FileProblem::read_failed:
        return read_failed;
    case FileProblem::too_large:
        return read_too_large;
    case FileProblem::out_of_memory:
        return read_out_of_memory;
    case FileProblem::library_error:
        return r.detail;
    case FileProblem::link_to_another_users_file:
    case FileProblem::system_error:
        break;
    }
    switch (r.error_number) {
    case EACCES:
    case EPERM:
        return read_no_permission;
    case EIO:
        return read_disk_error;
    case EISDIR:
        return read_not_regular;
    case ELOOP:
        return read_too_many_links;
    default:
        return read_error_number.arg(r.error_number);
    }
}

QString describe(const ReadReport& r) {
    return r.failed() ? file_not_read.arg(read_reason(r)) : QString();
}

QString describe(const SaveReport& r) {
    switch (r.problem) {
    case FileProblem::none:
        return {};
    case FileProblem::not_a_regular_file:
        return save_not_regular;
    case FileProblem::link_of_another_user:
        return save_foreign_link;
    case FileProblem::link_to_another_users_file:
        return save_foreign_link_target;
    case FileProblem::cannot_encode:
        return save_cannot_encode;
    case FileProblem::unread_this_run:
        return describe(r.unread) + save_unread_file;
    case FileProblem::read_failed:
    case FileProblem::too_large:
    case FileProblem::out_of_memory:
    case FileProblem::library_error:
    case FileProblem::system_error:
        break;
    }
    switch (r.error_number) {
    case ENOSPC:
    case EDQUOT:
        return save_no_space;
    case EACCES:
    case EPERM:
        return save_no_permission;
    case EROFS:
        return save_read_only_disk;
    case ENOENT:
    case ENOTDIR:
        return save_no_folder;
    case EISDIR:
        return save_folder_of_the_name;
    case EFBIG:
        return save_too_large;
    case EMFILE:
    case ENFILE:
        return save_too_many_open;
    case EBUSY:
    case ETXTBSY:
        return save_busy;
    case EIO:
        return save_disk_error;
    case ELOOP:
        return save_too_many_links;
    default:
        return save_error_number.arg(r.error_number);
    }
}

QString describe(const PathReport& r) {
    switch (r.problem) {
    case PathProblem::none:
        return {};
    case PathProblem::link_of_another_user:
        return path_foreign_link.arg(r.path);
    case PathProblem::cannot_check:
        return r.error_number ? path_cannot_check_why.arg(r.path, read_reason(read_report(r.error_number)))
                              : path_cannot_check.arg(r.path);
    case PathProblem::owned_by_another_user:
        return path_of_another_user.arg(r.path);
    case PathProblem::writable_by_others:
        return path_writable_by_others.arg(r.path);
    }
    return {};
}

} // namespace tomarina::shared_texts
