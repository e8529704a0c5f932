#pragma once

#include <string>

namespace quillet {

// The open project as the main window needs it while closing. The project
// work supplies the real one; without it there is never an open project.
class IProjectSession {
public:
    virtual ~IProjectSession() = default;
    virtual bool IsOpen() const = 0;
    virtual bool IsModified() const = 0;
    // Full file name; empty while the project has not been saved yet.
    virtual std::string FileName() const = 0;
    // Saves the project; false when the save failed (and was reported).
    virtual bool Save() = 0;
};

// The keyboard macro recorder, stopped when the main window goes away.
class IMacroRecording {
public:
    virtual ~IMacroRecording() = default;
    virtual bool IsRecording() const = 0;
    virtual void StopRecording() = 0;
};

} // namespace quillet
