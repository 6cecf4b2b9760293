#pragma once

#include <QString>
#include <optional>

// The application's documents folder: "Research_protocols", "Label_files",
// "Reken", "Exercises" and "log.lbl" live below it.
class DocumentsFolder
{
public:
    // The folder, created when missing; none when the platform offers none
    // (or it was switched off for a test).
    static std::optional<QString> path();

    // Points the whole process at another folder. An empty text means
    // "no documents folder"; std::nullopt restores the platform's folder.
    static void setOverride(std::optional<QString> folder);
};
