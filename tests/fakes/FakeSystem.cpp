#include "tests/fakes/FakeSystem.h"

#include "platform/Text.h"

#include <stdexcept>

namespace relingo::test {

namespace {

bool SameName(std::u16string_view a, std::u16string_view b) {
    return a.size() == b.size() && AsciiUpper(a) == AsciiUpper(b);
}

// Windows drops trailing dots and spaces from a path component ("file." names "file").
std::u16string NormalizeComponent(std::u16string component) {
    if (component == u"." || component == u"..") {
        return component;
    }
    while (!component.empty() && (component.back() == u'.' || component.back() == u' ')) {
        component.pop_back();
    }
    return component;
}

std::vector<std::u16string> SplitComponents(std::u16string_view path) {
    std::vector<std::u16string> parts;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find(u'\\', start);
        if (end == std::u16string_view::npos) {
            end = path.size();
        }
        if (end > start) {
            parts.emplace_back(path.substr(start, end - start));
        }
        start = end + 1;
    }
    return parts;
}

// Wildcard match of a Windows search pattern: * any run, ? any one character.
bool Matches(std::u16string_view pattern, std::u16string_view name) {
    if (pattern == u"*.*") {
        pattern = u"*";
    }
    const std::u16string p = AsciiUpper(pattern);
    const std::u16string n = AsciiUpper(name);
    size_t pi = 0;
    size_t ni = 0;
    size_t star = std::u16string::npos;
    size_t mark = 0;
    while (ni < n.size()) {
        if (pi < p.size() && (p[pi] == u'?' || p[pi] == n[ni])) {
            ++pi, ++ni;
        } else if (pi < p.size() && p[pi] == u'*') {
            star = pi++;
            mark = ni;
        } else if (star != std::u16string::npos) {
            pi = star + 1;
            ni = ++mark;
        } else {
            return false;
        }
    }
    while (pi < p.size() && p[pi] == u'*') {
        ++pi;
    }
    return pi == p.size();
}

bool HasWildcards(std::u16string_view text) {
    return text.find_first_of(u"*?") != std::u16string_view::npos;
}

bool Visible(uint32_t attributes, uint32_t mask) {
    return ((attributes & (attr::kHidden | attr::kSystem)) & ~mask) == 0;
}

} // namespace

FakeSystem::FakeSystem() {
    AddDrive(u'C');
}

void FakeSystem::AddDrive(char16_t letter) {
    letter = AsciiUpper(std::u16string(1, letter))[0];
    auto root = std::make_unique<Node>();
    root->name = std::u16string(1, letter) + u":";
    root->attributes = attr::kDirectory | attr::kHidden | attr::kSystem;
    currentFolder_[letter] = root.get();
    drives_[letter] = std::move(root);
}

FakeSystem::Node* FakeSystem::Root(char16_t letter) const {
    const auto it = drives_.find(AsciiUpper(std::u16string(1, letter))[0]);
    return it == drives_.end() ? nullptr : it->second.get();
}

FakeSystem::Node* FakeSystem::Resolve(const std::u16string& path) const {
    if (path.empty() || path.find(u'\0') != std::u16string::npos) {
        return nullptr;
    }
    Node* node = nullptr;
    std::u16string_view rest = path;
    if (path.size() >= 2 && path[1] == u':') {
        Node* root = Root(path[0]);
        if (root == nullptr) {
            return nullptr;
        }
        rest.remove_prefix(2);
        node = !rest.empty() && rest.front() == u'\\'
                   ? root
                   : currentFolder_.at(AsciiUpper(path.substr(0, 1))[0]);
    } else if (path.starts_with(u"\\\\")) {
        return nullptr; // no network in this file system
    } else if (path.front() == u'\\') {
        node = Root(currentDrive_);
    } else {
        node = currentFolder_.at(currentDrive_);
    }
    const auto parts = SplitComponents(rest);
    for (size_t i = 0; i < parts.size(); ++i) {
        const std::u16string part = NormalizeComponent(parts[i]);
        if (!node->IsFolder()) {
            return nullptr;
        }
        if (part == u"." || part.empty()) {
            continue;
        }
        if (part == u"..") {
            node = node->parent ? node->parent : node;
            continue;
        }
        Node* next = nullptr;
        for (const auto& child : node->children) {
            if (SameName(child->name, part)) {
                next = child.get();
                break;
            }
        }
        if (next == nullptr) {
            return nullptr;
        }
        node = next;
    }
    if (!path.empty() && path.back() == u'\\' && !node->IsFolder()) {
        return nullptr;
    }
    return node;
}

std::u16string FakeSystem::FullPath(const Node* node) const {
    if (node->parent == nullptr) {
        return node->name + u"\\";
    }
    std::u16string path;
    for (; node->parent != nullptr; node = node->parent) {
        path = u"\\" + node->name + path;
    }
    return node->name + path;
}

FakeSystem::Node& FakeSystem::AddPath(const std::u16string& path, uint32_t attributes) {
    if (path.size() < 3 || path[1] != u':' || path[2] != u'\\' || Root(path[0]) == nullptr) {
        throw std::invalid_argument("FakeSystem needs a full path on an existing drive");
    }
    Node* node = Root(path[0]);
    const auto parts = SplitComponents(std::u16string_view(path).substr(3));
    if (parts.empty()) {
        throw std::invalid_argument("FakeSystem cannot add a drive root");
    }
    for (size_t i = 0; i < parts.size(); ++i) {
        const bool last = i + 1 == parts.size();
        Node* next = nullptr;
        for (const auto& child : node->children) {
            if (SameName(child->name, parts[i])) {
                next = child.get();
            }
        }
        if (next == nullptr) {
            auto child = std::make_unique<Node>();
            child->name = parts[i];
            child->attributes = last ? attributes : attr::kDirectory;
            child->parent = node;
            next = child.get();
            node->children.push_back(std::move(child));
        } else if (last) {
            next->attributes = attributes;
        }
        node = next;
    }
    return *node;
}

void FakeSystem::AddFolder(const std::u16string& path, uint32_t attributes) {
    AddPath(path, attributes | attr::kDirectory);
}

void FakeSystem::AddFile(const std::u16string& path, uint32_t attributes) {
    AddPath(path, attributes & ~attr::kDirectory);
}

void FakeSystem::SetShortName(const std::u16string& path, const std::u16string& shortName) {
    Node* node = Resolve(path);
    if (node == nullptr) {
        throw std::invalid_argument("FakeSystem::SetShortName: no such entry");
    }
    node->shortName = shortName;
}

void FakeSystem::SetAttributes(const std::u16string& path, uint32_t attributes) {
    Node* node = Resolve(path);
    if (node == nullptr) {
        throw std::invalid_argument("FakeSystem::SetAttributes: no such entry");
    }
    node->attributes = attributes;
}

void FakeSystem::Remove(const std::u16string& path) {
    Node* node = Resolve(path);
    if (node == nullptr || node->parent == nullptr) {
        throw std::invalid_argument("FakeSystem::Remove: no such entry");
    }
    for (auto& [letter, folder] : currentFolder_) {
        for (Node* n = folder; n != nullptr; n = n->parent) {
            if (n == node) {
                folder = node->parent;
                break;
            }
        }
    }
    std::erase_if(node->parent->children, [&](const auto& child) { return child.get() == node; });
}

bool FakeSystem::Exists(const std::u16string& path) const {
    return Resolve(path) != nullptr;
}

void FakeSystem::ScriptAnswers(std::initializer_list<int32_t> answers) {
    answers_.insert(answers_.end(), answers.begin(), answers.end());
}

void FakeSystem::PutSetting(const std::u16string& app, const std::u16string& section,
                            const std::u16string& key, const std::u16string& value) {
    const std::u16string name = app + u"\\" + section + u"\\" + key;
    std::erase_if(settings_, [&](const auto& entry) { return SameName(entry.first, name); });
    settings_[name] = value;
}

int FakeSystem::Calls(Op op) const {
    const auto it = calls_.find(op);
    return it == calls_.end() ? 0 : it->second;
}

void FakeSystem::Enter(Op op) {
    ++calls_[op];
    const auto it = faults_.find(op);
    if (it == faults_.end() || (!it->second.always && --it->second.countdown > 0)) {
        return;
    }
    const Error error = it->second.error;
    if (!it->second.always) {
        faults_.erase(it);
    }
    throw error;
}

int32_t FakeSystem::MsgBox(const std::u16string& text, int32_t style,
                           const std::optional<std::u16string>& caption,
                           const std::u16string& helpFile, int32_t helpContext) {
    Enter(Op::MsgBox);
    msgBoxes_.push_back({text, style, caption, helpFile, helpContext});
    if (!answers_.empty()) {
        const int32_t answer = answers_.front();
        answers_.pop_front();
        return answer;
    }
    return (style & 0xF) == mb::kYesNo ? mb::kAnswerYes : mb::kAnswerOk;
}

std::u16string FakeSystem::GetSetting(const std::u16string& appName, const std::u16string& section,
                                      const std::u16string& key,
                                      const std::u16string& defaultValue) {
    Enter(Op::GetSetting);
    if (appName.empty() || section.empty() || key.empty()) {
        throw Error(errnum::kInvalidProcedureCall);
    }
    const std::u16string name = appName + u"\\" + section + u"\\" + key;
    for (const auto& [stored, value] : settings_) {
        if (SameName(stored, name)) {
            return value;
        }
    }
    return defaultValue;
}

void FakeSystem::SaveSetting(const std::u16string& appName, const std::u16string& section,
                             const std::u16string& key, const std::u16string& value) {
    Enter(Op::SaveSetting);
    if (appName.empty() || section.empty() || key.empty()) {
        throw Error(errnum::kInvalidProcedureCall);
    }
    PutSetting(appName, section, key, value);
}

void FakeSystem::ChangeDrive(const std::u16string& drive) {
    Enter(Op::ChangeDrive);
    if (drive.empty()) {
        return;
    }
    if (Root(drive[0]) == nullptr) {
        throw Error(errnum::kDeviceUnavailable);
    }
    currentDrive_ = AsciiUpper(drive.substr(0, 1))[0];
}

void FakeSystem::ChangeDirectory(const std::u16string& path) {
    Enter(Op::ChangeDirectory);
    Node* node = Resolve(path);
    if (node == nullptr || !node->IsFolder()) {
        throw Error(errnum::kPathNotFound);
    }
    Node* root = node;
    while (root->parent != nullptr) {
        root = root->parent;
    }
    currentDrive_ = root->name[0];
    currentFolder_[currentDrive_] = node;
}

std::u16string FakeSystem::CurrentDirectory() {
    Enter(Op::CurrentDirectory);
    return FullPath(currentFolder_.at(currentDrive_));
}

std::u16string FakeSystem::FindFirstEntry(const std::u16string& name, uint32_t attributeMask) {
    Enter(Op::FindFirstEntry);
    if (name.find(u'\0') != std::u16string::npos) {
        throw Error(errnum::kBadFileName);
    }
    if (name.empty()) {
        return {};
    }
    // Split into the folder to search and the pattern of its last component.
    std::u16string folderPart;
    std::u16string pattern;
    const size_t slash = name.rfind(u'\\');
    if (slash != std::u16string::npos) {
        folderPart = name.substr(0, slash + 1);
        pattern = name.substr(slash + 1);
    } else if (name.size() >= 2 && name[1] == u':') {
        folderPart = name.substr(0, 2);
        pattern = name.substr(2);
    } else {
        pattern = name;
    }
    if (pattern.empty()) {
        pattern = u"*";
    } else if (!HasWildcards(pattern)) {
        pattern = NormalizeComponent(pattern);
    }
    const Node* folder =
        folderPart.empty() ? currentFolder_.at(currentDrive_) : Resolve(folderPart);
    if (folder == nullptr || !folder->IsFolder()) {
        return {};
    }
    if (pattern == u"." || pattern == u"..") {
        const Node* target = pattern == u".." && folder->parent ? folder->parent : folder;
        if (folder->parent == nullptr) {
            return {};
        }
        return Visible(target->attributes, attributeMask) ? pattern : std::u16string();
    }
    if (folder->parent != nullptr && Matches(pattern, u".")) {
        if (Visible(folder->attributes, attributeMask)) {
            return u".";
        }
    }
    if (folder->parent != nullptr && Matches(pattern, u"..")) {
        if (Visible(folder->parent->attributes, attributeMask)) {
            return u"..";
        }
    }
    for (const auto& child : folder->children) {
        if (Matches(pattern, child->name) && Visible(child->attributes, attributeMask)) {
            return child->name;
        }
    }
    return {};
}

uint32_t FakeSystem::GetAttributes(const std::u16string& name) {
    Enter(Op::GetAttributes);
    if (name.find(u'\0') != std::u16string::npos) {
        throw Error(errnum::kBadFileName);
    }
    const Node* node = Resolve(name);
    if (node == nullptr) {
        throw Error(errnum::kFileNotFound);
    }
    return node->attributes;
}

std::u16string FakeSystem::ShortPathName(const std::u16string& name) {
    Enter(Op::ShortPathName);
    const Node* node = Resolve(name);
    if (node == nullptr) {
        return {};
    }
    if (node->parent == nullptr) {
        return node->name + u"\\";
    }
    std::u16string path;
    for (; node->parent != nullptr; node = node->parent) {
        path = u"\\" + (node->shortName.empty() ? node->name : node->shortName) + path;
    }
    return node->name + path;
}

uint32_t FakeSystem::StartProgram(const std::u16string& commandLine, int32_t windowStyle) {
    Enter(Op::StartProgram);
    std::u16string program = commandLine.substr(0, commandLine.find(u' '));
    if (program.find(u'.') == std::u16string::npos) {
        program += u".EXE";
    }
    const Node* found = Resolve(program);
    if (found == nullptr || found->IsFolder()) {
        throw Error(errnum::kFileNotFound);
    }
    starts_.push_back({commandLine, windowStyle, FullPath(currentFolder_.at(currentDrive_))});
    return nextTaskId_++;
}

std::string FakeSystem::ToAnsi(std::u16string_view text) {
    Enter(Op::ToAnsi);
    std::string out;
    out.reserve(text.size());
    for (char16_t c : text) {
        out += c < 0x100 ? static_cast<char>(c) : '?';
    }
    return out;
}

std::u16string FakeSystem::FromAnsi(std::string_view bytes) {
    Enter(Op::FromAnsi);
    std::u16string out;
    out.reserve(bytes.size());
    for (char c : bytes) {
        out += static_cast<char16_t>(static_cast<unsigned char>(c));
    }
    return out;
}

std::u16string FakeSystem::SystemFolder() {
    Enter(Op::SystemFolder);
    return systemFolder_;
}

std::u16string FakeSystem::DesktopFolder(intptr_t) {
    Enter(Op::DesktopFolder);
    return desktopFolder_;
}

std::u16string FakeSystem::ProductName() {
    Enter(Op::ProductName);
    return productName_;
}

} // namespace relingo::test
