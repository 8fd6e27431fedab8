#pragma once
// File names from the command line. Linux file names are bytes; Qt reaches a file only
// through a UTF-8 name. A name in another encoding (typed on a CP1251 desktop, say) is
// reached through a descriptor instead: an input is opened as it was typed, an output is
// written under a stand-in name in its folder and renamed to the typed bytes when complete.

#include <QString>
#include <string>

namespace cli {

class InputFile {
public:
    explicit InputFile(std::string typed) : FTyped(std::move(typed)) {}
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // A name Qt can read the file under; empty, with a message naming the file, when it
    // cannot be opened.
    QString Open(std::string& error);
    const std::string& Typed() const { return FTyped; }

private:
    std::string FTyped;
    int FFd = -1;
};

class OutputFile {
public:
    explicit OutputFile(std::string typed) : FTyped(std::move(typed)) {}
    ~OutputFile(); // an output never committed leaves nothing behind
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // The name to write to; empty, with a message, when its folder cannot be reached.
    QString Target(std::string& error);
    // Puts the written output in place under the typed name.
    bool Commit(std::string& error);
    const std::string& Typed() const { return FTyped; }

private:
    std::string FTyped;
    int FDir = -1;
    std::string FStage; // the stand-in name inside FDir, when the typed name is not UTF-8
};

// "what 'name': why", the name quoted as typed.
std::string FileMessage(const char* what, const std::string& typed, const std::string& why);

} // namespace cli
