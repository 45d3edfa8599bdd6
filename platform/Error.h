// The error record that failing operations raise and the window's handlers report.
#pragma once

#include <cstdint>
#include <exception>
#include <string>

namespace relingo {

// The application's title; it is the source of every error the program raises itself and the
// caption of a message box shown without one.
inline constexpr char16_t kAppTitle[] = u"Relingo";

// Run-time error numbers in the numbering that the program and its controls share.
namespace errnum {
inline constexpr int32_t kInvalidProcedureCall = 5;
inline constexpr int32_t kOverflow = 6;
inline constexpr int32_t kOutOfMemory = 7;
inline constexpr int32_t kTypeMismatch = 13;
inline constexpr int32_t kInternalError = 51;
inline constexpr int32_t kBadFileName = 52;
inline constexpr int32_t kFileNotFound = 53;
inline constexpr int32_t kDeviceUnavailable = 68;
inline constexpr int32_t kDiskNotReady = 71;
inline constexpr int32_t kPathFileAccess = 75;
inline constexpr int32_t kPathNotFound = 76;
inline constexpr int32_t kInvalidFileFormat = 321;
inline constexpr int32_t kInvalidPropertyValue = 380;
inline constexpr int32_t kSetNotSupportedAtRunTime = 382;
inline constexpr int32_t kCannotCreateObject = 429;
// Raised by the file dialog control when the user cancels and CancelError is True.
inline constexpr int32_t kDialogCancelled = 32755;
} // namespace errnum

// Raised as an exception; carries what the error report shows.
class Error : public std::exception {
public:
    // An error with the standard description of its number (see StandardDescription).
    explicit Error(int32_t number);
    Error(int32_t number, std::u16string description, std::u16string source = kAppTitle,
          std::u16string helpFile = {}, int32_t helpContext = 0);

    int32_t Number() const noexcept { return number_; }
    const std::u16string& Source() const noexcept { return source_; }
    const std::u16string& Description() const noexcept { return description_; }
    const std::u16string& HelpFile() const noexcept { return helpFile_; }
    int32_t HelpContext() const noexcept { return helpContext_; }

    // The description in UTF-8, for logs and test output.
    const char* what() const noexcept override { return what_.c_str(); }

private:
    int32_t number_;
    std::u16string description_;
    std::u16string source_;
    std::u16string helpFile_;
    int32_t helpContext_;
    std::string what_;
};

// The English text of a run-time error number, or "Application-defined or object-defined error"
// for a number the platform does not define itself.
std::u16string StandardDescription(int32_t number);
// The same in the language of the locale: Japanese for 1041, English for any other.
std::u16string StandardDescription(int32_t number, int32_t localeId);

} // namespace relingo
