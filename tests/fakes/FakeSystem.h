// The test backend of the system services: an in-memory Windows-like file system, a message-box
// recorder with scripted answers, an in-memory settings store, a program-start recorder, and a
// fault that can be injected into any operation.
#pragma once

#include "platform/Error.h"
#include "platform/SystemServices.h"

#include <deque>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace relingo::test {

enum class Op {
    MsgBox,
    GetSetting,
    SaveSetting,
    ChangeDrive,
    ChangeDirectory,
    CurrentDirectory,
    FindFirstEntry,
    GetAttributes,
    ShortPathName,
    StartProgram,
    ToAnsi,
    FromAnsi,
    SystemFolder,
    DesktopFolder,
    ProductName,
};

struct MsgBoxCall {
    std::u16string text;
    int32_t style = 0;
    std::optional<std::u16string> caption;
    std::u16string helpFile;
    int32_t helpContext = 0;
};

struct StartCall {
    std::u16string commandLine;
    int32_t windowStyle = 0;
    std::u16string currentDirectory;
};

class FakeSystem : public SystemServices {
public:
    FakeSystem();

    // ---- file system ----
    // Adds a drive ("C") with an empty root folder; drive C exists from the start.
    void AddDrive(char16_t letter);
    // Adds a folder and any missing parents; returns nothing, fails the test setup on a bad path.
    void AddFolder(const std::u16string& path, uint32_t attributes = attr::kDirectory);
    void AddFile(const std::u16string& path, uint32_t attributes = attr::kArchive);
    // The 8.3 name ShortPathName reports for that entry's last component.
    void SetShortName(const std::u16string& path, const std::u16string& shortName);
    void SetAttributes(const std::u16string& path, uint32_t attributes);
    void Remove(const std::u16string& path);
    bool Exists(const std::u16string& path) const;

    // ---- message boxes ----
    // Answers for the next boxes, in order; afterwards a box answers OK, or Yes when it has
    // Yes and No buttons.
    void ScriptAnswers(std::initializer_list<int32_t> answers);
    const std::vector<MsgBoxCall>& MsgBoxes() const { return msgBoxes_; }
    void ClearMsgBoxes() { msgBoxes_.clear(); }

    // ---- settings ----
    // The stored settings, keyed "app\section\key" in the case they were written.
    const std::map<std::u16string, std::u16string>& Settings() const { return settings_; }
    void PutSetting(const std::u16string& app, const std::u16string& section,
                    const std::u16string& key, const std::u16string& value);

    // ---- programs ----
    const std::vector<StartCall>& Starts() const { return starts_; }

    // ---- lookups ----
    void SetSystemFolder(std::u16string folder) { systemFolder_ = std::move(folder); }
    void SetDesktopFolder(std::u16string folder) { desktopFolder_ = std::move(folder); }
    void SetProductName(std::u16string name) { productName_ = std::move(name); }

    // ---- faults ----
    // The next call (or, with always, every call) of the operation throws the error instead of
    // doing its work.
    void FailNext(Op op, Error error) { FailCall(op, 1, std::move(error)); }
    void FailAlways(Op op, Error error) {
        faults_.insert_or_assign(op, Fault{std::move(error), true, 1});
    }
    // The nth call of the operation from now on (1 for the next one) throws the error.
    void FailCall(Op op, int nth, Error error) {
        faults_.insert_or_assign(op, Fault{std::move(error), false, nth});
    }
    void ClearFaults() { faults_.clear(); }
    // How often each operation has been called, failed calls included.
    int Calls(Op op) const;

    // ---- SystemServices ----
    int32_t MsgBox(const std::u16string& text, int32_t style,
                   const std::optional<std::u16string>& caption, const std::u16string& helpFile,
                   int32_t helpContext) override;
    std::u16string GetSetting(const std::u16string& appName, const std::u16string& section,
                              const std::u16string& key,
                              const std::u16string& defaultValue) override;
    void SaveSetting(const std::u16string& appName, const std::u16string& section,
                     const std::u16string& key, const std::u16string& value) override;
    void ChangeDrive(const std::u16string& drive) override;
    void ChangeDirectory(const std::u16string& path) override;
    std::u16string CurrentDirectory() override;
    std::u16string FindFirstEntry(const std::u16string& name, uint32_t attributeMask) override;
    uint32_t GetAttributes(const std::u16string& name) override;
    std::u16string ShortPathName(const std::u16string& name) override;
    uint32_t StartProgram(const std::u16string& commandLine, int32_t windowStyle) override;
    std::string ToAnsi(std::u16string_view text) override;
    std::u16string FromAnsi(std::string_view bytes) override;
    std::u16string SystemFolder() override;
    std::u16string DesktopFolder(intptr_t ownerWindow) override;
    std::u16string ProductName() override;

    struct Node {
        std::u16string name;
        std::u16string shortName;
        uint32_t attributes = 0;
        Node* parent = nullptr;
        std::vector<std::unique_ptr<Node>> children;
        bool IsFolder() const { return (attributes & attr::kDirectory) != 0; }
    };

private:
    struct Fault {
        Error error;
        bool always;
        int countdown; // the call that fails, counted from 1
    };
    void Enter(Op op);
    Node* Root(char16_t letter) const;
    // The node a full or relative name denotes, or null.
    Node* Resolve(const std::u16string& path) const;
    Node& AddPath(const std::u16string& path, uint32_t attributes);
    std::u16string FullPath(const Node* node) const;

    std::map<char16_t, std::unique_ptr<Node>> drives_;
    char16_t currentDrive_ = u'C';
    std::map<char16_t, Node*> currentFolder_;
    std::deque<int32_t> answers_;
    std::vector<MsgBoxCall> msgBoxes_;
    std::map<std::u16string, std::u16string> settings_;
    std::vector<StartCall> starts_;
    uint32_t nextTaskId_ = 1000;
    std::u16string systemFolder_ = u"C:\\WINDOWS\\system32";
    std::u16string desktopFolder_ = u"C:\\Users\\user\\Desktop";
    std::u16string productName_ = u"Relingo";
    std::map<Op, Fault> faults_;
    std::map<Op, int> calls_;
};

} // namespace relingo::test
