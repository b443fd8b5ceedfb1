// Where a candidate's session lives on disk: the current save and the one before it, in
// one folder per test and candidate. A save replaces the current file atomically and
// keeps the one it replaces, so that a damaged current file still resumes from the save
// before it. Damaged files are renamed aside, never overwritten or deleted.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "session/ExamSession.h"
#include "session/SessionFile.h"

namespace talvik::exam {

struct LoadedSession {
    std::optional<SessionState> state;  // the newest good save, if any
    std::string path;                   // the file it was read from
    std::int64_t savedAtMs = 0;         // when that file was written (ms since the epoch)
    std::vector<std::string> problems;  // for the candidate and the invigilator, one sentence each
    std::vector<std::string> details;   // what exactly was wrong, for the log
};

class SessionStore {
public:
    explicit SessionStore(std::string directory);

    const std::string& directory() const { return directory_; }
    std::string currentPath() const;   // session.json
    std::string previousPath() const;  // session.prev.json

    // Writes the state as the new current save and keeps the former current save as the
    // previous one. Creates the folder if needed. On failure throws SessionFileError and
    // leaves every earlier save as it was.
    void save(const SessionState& state);

    // The newest good save. Damaged files are renamed aside (session.json.damaged-...)
    // and named in problems; files left over from an interrupted save are removed.
    LoadedSession load();
    // The same without changing anything in the folder (for reports).
    LoadedSession read() const;

private:
    LoadedSession find(bool setAside) const;

    std::string directory_;
};

// Thrown when another program has the session open.
struct SessionBusyError : SessionFileError {
    using SessionFileError::SessionFileError;
};

// Held while a program has the session open, so that a second window on the same
// candidate's session cannot overwrite the saves of the first. The system releases it
// when the program ends in any way, a kill included.
class SessionLock {
public:
    // Creates the folder if needed; throws SessionBusyError when another program holds
    // the session. A folder that cannot be written (read-only, or not creatable) is no
    // reason to refuse the candidate: the lock is then taken on a read-only handle, or not
    // at all, and the saves report the problem.
    explicit SessionLock(const std::string& directory);
    ~SessionLock();
    SessionLock(SessionLock&& other) noexcept;
    SessionLock& operator=(SessionLock&& other) noexcept;
    SessionLock(const SessionLock&) = delete;
    SessionLock& operator=(const SessionLock&) = delete;

    bool held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};

// A name any file system accepts, made only of letters, digits, '-', '_' and '.'
// (not leading); other characters are written as %XX, so different names stay different.
std::string safeFileName(const std::string& name);

// $XDG_DATA_HOME/talvik/exam/<test>/<candidate>, with ~/.local/share when XDG_DATA_HOME
// is not set.
std::string defaultSessionDirectory(const std::string& testIdentifier, const std::string& candidate);

}  // namespace talvik::exam
