#pragma once
// The one registry of the run-time's error location codes. A code names the operation in its
// high part and the check within it in the low 8 bits; the error log shows them as FUNC and
// INFO. Each operation has an enum of its checks, numbered in order, and each check enum names
// its operation, so a code can only be formed from a check and its own operation and no two
// checks of an operation share a number. The operation numbers are checked for uniqueness at
// compile time, here within the run-time and in app/workspace/error_locations.h against the
// application's.

#include <algorithm>
#include <array>
#include <cstdint>

namespace rt {

using LocationCode = std::uint32_t;

// The run-time's operations, the high part of a code.
enum class Operation : std::uint32_t {
  Forms = 0x01,
  ControlValues = 0x06,
  MessageBox = 0x07,
  FileDialogs = 0x08,
  PaletteColour = 0x401,
  Coordinate = 0x402,
  Raster = 0x403,
  Font = 0x405,
  ImageSize = 0x410,
  ImageCopy = 0x411,
  ImageSave = 0x412,
  // Arithmetic and number and text conversion: their codes are formed with any ConvertCheck.
  Checked = 0x501,
  Divide = 0x502,
  ToSingle = 0x503,
  Power = 0x504,
  Log = 0x505,
  Exp = 0x506,
  IntegerDivide = 0x507,
  IntegerRemainder = 0x508,
  ToInteger = 0x509,
  ToInt16 = 0x50A,
  TextToNumber = 0x50B,
  NumberToText = 0x50C,
  CodePage = 0x50D,
  StringFunction = 0x50E,
  // A procedure as a whole: what no single operation raised.
  Procedure = 0xE01,
  // 0xF00 + FileOp: the file operations below.
  Files = 0xF00,
};

// The checks of arithmetic and conversion, shared by their operations.
enum class ConvertCheck : std::uint32_t {
  NotANumber = 1,  // an invalid operation's result
  Infinite,        // beyond the double range
  ZeroDivisor,
  ZeroByZero,
  BeyondRange,    // too large for the destination
  BadArgument,    // outside the operation's domain
  Unconvertible,  // text without a code-page form
};

// The file operations: their codes are formed from any operation and any check of the files.
enum class FileOp : std::uint32_t {
  Open = 1,
  ReadBytes,
  WriteLine,
  ReadText,
  ReadNumber,
  EndOfFile,
  Close,
  FullPath,
  Replace,
};
inline constexpr std::uint32_t kLastFileOp = static_cast<std::uint32_t>(FileOp::Replace);

enum class FileCheck : std::uint32_t {
  BadNumber = 1,
  NotOpen,
  AlreadyOpen,
  WrongMode,
  BadName,
  OsError,
  PastEnd,
  NotANumber,
  TooLong,
};

// Objects: forms, controls, pictures and images looked up by reference or name.
enum class FormsCheck : std::uint32_t {
  NoDefinition = 1,
  BadControlName,
  NoSuchControl,
  BadShowState,
  NoSuchForm,
  NotAForm,
  NoSuchControlObject,
  NotAControl,
  NoSuchPicture,
  PictureNotAControl,
  NotAPicture,
  NoSuchImage,
  NotAnImage,
};
enum class ControlValueCheck : std::uint32_t {
  PictureHasNoText = 1,
  ReadCheckOfNonBox,
  SetCheckOfNonBox,
  BadCheckState
};
enum class MessageBoxCheck : std::uint32_t { BadStyle = 1 };
enum class FileDialogCheck : std::uint32_t { UnclosedFilter = 1, BadRequest };
enum class ColourCheck : std::uint32_t { BadPaletteIndex = 1, BadColour };
enum class CoordinateCheck : std::uint32_t { BeyondSingle = 1 };
enum class RasterCheck : std::uint32_t { NegativeSize = 1, TooManyPixels, NoMemory };
enum class FontCheck : std::uint32_t { BadSize = 1 };
enum class ImageSizeCheck : std::uint32_t {
  WidthBelowOne = 1,
  WidthTooLarge,
  HeightBelowOne,
  HeightTooLarge
};
enum class ImageCopyCheck : std::uint32_t { NoBitmap = 0, BadRegion };
enum class ProcedureCheck : std::uint32_t { OutOfMemory = 1 };
enum class ImageSaveCheck : std::uint32_t {
  NoBitmap = 0,
  NoMemory,
  CannotCreate,
  WriteHeader,
  WriteRows,
  Close
};

constexpr Operation operation_of(FormsCheck) { return Operation::Forms; }
constexpr Operation operation_of(ControlValueCheck) { return Operation::ControlValues; }
constexpr Operation operation_of(MessageBoxCheck) { return Operation::MessageBox; }
constexpr Operation operation_of(FileDialogCheck) { return Operation::FileDialogs; }
constexpr Operation operation_of(ColourCheck) { return Operation::PaletteColour; }
constexpr Operation operation_of(CoordinateCheck) { return Operation::Coordinate; }
constexpr Operation operation_of(RasterCheck) { return Operation::Raster; }
constexpr Operation operation_of(FontCheck) { return Operation::Font; }
constexpr Operation operation_of(ImageSizeCheck) { return Operation::ImageSize; }
constexpr Operation operation_of(ImageCopyCheck) { return Operation::ImageCopy; }
constexpr Operation operation_of(ImageSaveCheck) { return Operation::ImageSave; }
constexpr Operation operation_of(ProcedureCheck) { return Operation::Procedure; }

// The code of a check: its operation's number above the check's.
template <class Check>
constexpr LocationCode location(Check check) {
  return static_cast<std::uint32_t>(operation_of(check)) << 8 | static_cast<std::uint32_t>(check);
}

constexpr LocationCode convert_location(Operation op, ConvertCheck check) {
  return static_cast<std::uint32_t>(op) << 8 | static_cast<std::uint32_t>(check);
}

constexpr LocationCode file_location(FileOp op, FileCheck check) {
  return (static_cast<std::uint32_t>(Operation::Files) + static_cast<std::uint32_t>(op)) << 8 |
         static_cast<std::uint32_t>(check);
}

// Every high part the run-time uses, the file operations included.
inline constexpr auto kRuntimeOperationNumbers = [] {
  constexpr Operation named[] = {Operation::Forms,
                                 Operation::ControlValues,
                                 Operation::MessageBox,
                                 Operation::FileDialogs,
                                 Operation::PaletteColour,
                                 Operation::Coordinate,
                                 Operation::Raster,
                                 Operation::Font,
                                 Operation::ImageSize,
                                 Operation::ImageCopy,
                                 Operation::ImageSave,
                                 Operation::Checked,
                                 Operation::Divide,
                                 Operation::ToSingle,
                                 Operation::Power,
                                 Operation::Log,
                                 Operation::Exp,
                                 Operation::IntegerDivide,
                                 Operation::IntegerRemainder,
                                 Operation::ToInteger,
                                 Operation::ToInt16,
                                 Operation::TextToNumber,
                                 Operation::NumberToText,
                                 Operation::CodePage,
                                 Operation::StringFunction,
                                 Operation::Procedure};
  std::array<std::uint32_t, std::size(named) + kLastFileOp> numbers{};
  std::size_t n = 0;
  for (Operation op : named) numbers[n++] = static_cast<std::uint32_t>(op);
  for (std::uint32_t op = 1; op <= kLastFileOp; ++op)
    numbers[n++] = static_cast<std::uint32_t>(Operation::Files) + op;
  return numbers;
}();

// Whether no number occurs twice in `numbers`.
template <std::size_t N>
constexpr bool all_distinct(std::array<std::uint32_t, N> numbers) {
  std::sort(numbers.begin(), numbers.end());
  return std::adjacent_find(numbers.begin(), numbers.end()) == numbers.end();
}

static_assert(all_distinct(kRuntimeOperationNumbers),
              "two run-time operations share a location number");

}  // namespace rt
