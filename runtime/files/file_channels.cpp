#include "runtime/files/file_channels.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "runtime/convert/cp932.h"
#include "runtime/errors/runtime_error.h"
#include "runtime/errors/statement_place.h"
#include "runtime/files/field_reader.h"
#include "runtime/files/os_errors.h"
#include "runtime/state/runtime_state.h"

namespace rt {
namespace {

constexpr unsigned char kCtrlZ = 26;
constexpr std::uint64_t kSmallReadBufferBytes = 512;

class FileSource : public ByteSource {
 public:
  explicit FileSource(int fd) : fd_(fd) {}
  std::size_t read_at(std::uint64_t offset, char* out, std::size_t count,
                      const std::source_location& where) override {
    std::size_t done = 0;
    while (done < count) {
      ssize_t n = ::pread(fd_, out + done, count - done, static_cast<off_t>(offset + done));
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) raise_os_error(errno, OsCall::Read, FileOp::ReadBytes, where);
      if (n == 0) break;
      done += static_cast<std::size_t>(n);
    }
    return done;
  }

 private:
  int fd_;
};

}  // namespace

struct Channel {
  Channel(int descriptor, OpenMode open_mode, std::string full_path)
      : fd(descriptor),
        mode(open_mode),
        path(std::move(full_path)),
        source(std::make_unique<FileSource>(descriptor)) {}
  // An input channel over bytes of its own, with no descriptor.
  Channel(std::string bytes, std::string name)
      : fd(-1),
        mode(OpenMode::Input),
        path(std::move(name)),
        held_bytes(std::move(bytes)),
        source(std::make_unique<MemorySource>(held_bytes)) {}
  ~Channel() {
    if (fd >= 0) ::close(fd);
  }
  Channel(const Channel&) = delete;
  Channel& operator=(const Channel&) = delete;

  bool readable() const { return mode == OpenMode::Input || mode == OpenMode::Append; }
  bool writable() const { return mode != OpenMode::Input; }

  int fd;
  OpenMode mode;
  std::string path;
  std::uint64_t write_position = 0;
  std::string held_bytes;  // a memory file's
  std::unique_ptr<ByteSource> source;
  std::optional<FieldReader> reader;  // the readable modes only
};

FileChannelTable::FileChannelTable() = default;
FileChannelTable::~FileChannelTable() = default;

namespace {

std::array<std::unique_ptr<Channel>, kMaxFileNumber + 1>& channels_of_program() {
  return state().files.channels;
}

// The memory files by name: one or two at a time, so a plain list.
std::vector<std::pair<std::string, std::string>>& memory_files() {
  return state().files.memory_files;
}

const std::string* memory_file(std::string_view name) {
  for (const auto& [held_name, bytes] : memory_files())
    if (held_name == name) return &bytes;
  return nullptr;
}

[[noreturn]] void raise_file_error(int number, FileOp op, FileCheck check,
                                   const std::source_location& where) {
  raise_error(number, file_location(op, check), where);
}

void check_number(int number, FileOp op, const std::source_location& where) {
  note_statement(where);
  if (number < 1 || number > kMaxFileNumber)
    raise_file_error(kBadFileNumber, op, FileCheck::BadNumber, where);
}

// A number that is in range but not open is a bad file number too.
Channel& open_channel(int number, FileOp op, const std::source_location& where) {
  auto& channels = channels_of_program();
  check_number(number, op, where);
  if (!channels[number]) raise_file_error(kBadFileNumber, op, FileCheck::NotOpen, where);
  return *channels[number];
}

// The reading side of an input or append channel (the other modes have none).
FieldReader& channel_reader(int number, FileOp op, const std::source_location& where) {
  Channel& channel = open_channel(number, op, where);
  if (!channel.reader) raise_file_error(kBadFileMode, op, FileCheck::WrongMode, where);
  return *channel.reader;
}

int open_flags(OpenMode mode) {
  // Non-blocking only while opening, so that a FIFO cannot hang the program in open().
  int flags = O_CLOEXEC | O_NOCTTY | O_NONBLOCK;
  switch (mode) {
    case OpenMode::Input:
      return flags | O_RDONLY;
    case OpenMode::Output:
      return flags | O_WRONLY | O_CREAT | O_TRUNC;
    case OpenMode::OutputNew:
      return flags | O_WRONLY | O_CREAT | O_EXCL;
    case OpenMode::Append:
      return flags | O_RDWR | O_CREAT;
  }
  return flags;
}

// Gives a readable channel its reader. A small file gets a buffer of its own size rather than
// the full one.
void start_reading(Channel& channel, std::uint64_t size, std::uint64_t position) {
  channel.reader.emplace(*channel.source, size, position,
                         static_cast<std::size_t>(std::clamp<std::uint64_t>(
                             size, kSmallReadBufferBytes, kReadBufferBytes)));
}

// Closes the descriptor; the system's error when a writing channel's data may be lost.
int release(std::unique_ptr<Channel>& slot) {
  int error = 0;
  if (slot->fd >= 0 && ::close(slot->fd) != 0 && errno != EINTR && slot->writable()) error = errno;
  slot->fd = -1;
  slot.reset();
  return error;
}

}  // namespace

void open_file(std::string_view name, OpenMode mode, int number, std::source_location where) {
  auto& channels = channels_of_program();
  check_number(number, FileOp::Open, where);
  if (channels[number])
    raise_file_error(kFileAlreadyOpen, FileOp::Open, FileCheck::AlreadyOpen, where);
  // A zero byte would cut the name short in the system call and open another file.
  if (name.empty() || name.find('\0') != std::string_view::npos)
    raise_file_error(kBadFileName, FileOp::Open, FileCheck::BadName, where);
  if (mode == OpenMode::Input) {
    if (const std::string* bytes = memory_file(name)) {
      auto channel = std::make_unique<Channel>(*bytes, std::string(name));
      start_reading(*channel, bytes->size(), 0);
      channels[number] = std::move(channel);
      return;
    }
  }

  std::error_code ec;
  std::filesystem::path path = std::filesystem::absolute(std::filesystem::path(name), ec);
  if (ec) raise_os_error(ec.value(), OsCall::Open, FileOp::Open, where);

  int fd;
  do {
    fd = ::open(path.c_str(), open_flags(mode), 0666);
  } while (fd < 0 && errno == EINTR);
  if (fd < 0) raise_os_error(errno, OsCall::Open, FileOp::Open, where);
  auto channel = std::make_unique<Channel>(fd, mode, path.string());

  struct stat st {};
  if (::fstat(fd, &st) != 0) raise_os_error(errno, OsCall::Open, FileOp::Open, where);
  if (S_ISDIR(st.st_mode)) raise_os_error(EISDIR, OsCall::Open, FileOp::Open, where);
  int status = ::fcntl(fd, F_GETFL);
  if (status < 0 || ::fcntl(fd, F_SETFL, status & ~O_NONBLOCK) < 0)
    raise_os_error(errno, OsCall::Open, FileOp::Open, where);

  if (channel->readable()) {
    // Only a regular file has a size; a device or FIFO reads as empty rather than forever.
    std::uint64_t size = S_ISREG(st.st_mode) ? static_cast<std::uint64_t>(st.st_size) : 0;
    std::uint64_t position = 0;
    if (mode == OpenMode::Append && size > 0) {
      char last = 0;
      bool ctrl_z = channel->source->read_at(size - 1, &last, 1, where) == 1 &&
                    static_cast<unsigned char>(last) == kCtrlZ;
      // Left in place: the first line written replaces it.
      position = ctrl_z ? size - 1 : size;
      if (::lseek(fd, static_cast<off_t>(position), SEEK_SET) < 0)
        raise_os_error(errno, OsCall::Open, FileOp::Open, where);
    }
    channel->write_position = position;
    start_reading(*channel, size, position);
  }
  channels[number] = std::move(channel);
}

void write_line(int number, std::string_view text, std::source_location where) {
  Channel& channel = open_channel(number, FileOp::WriteLine, where);
  if (!channel.writable())
    raise_file_error(kBadFileMode, FileOp::WriteLine, FileCheck::WrongMode, where);
  std::string bytes = utf8_to_cp932(text, where);
  bytes += "\r\n";
  std::size_t done = 0;
  int error = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(channel.fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error = n < 0 ? errno : ENOSPC;  // no progress and no reason: the device is full
      break;
    }
    done += static_cast<std::size_t>(n);
  }
  channel.write_position += done;
  if (channel.reader)
    channel.reader->reset(channel.write_position,
                          std::max(channel.reader->size(), channel.write_position));
  if (error != 0) raise_os_error(error, OsCall::Write, FileOp::WriteLine, where);
}

std::string read_text_field(int number, std::source_location where) {
  return cp932_to_utf8(channel_reader(number, FileOp::ReadText, where).read_text(where), where);
}

double read_number_field(int number, std::source_location where) {
  return channel_reader(number, FileOp::ReadNumber, where).read_number(where);
}

bool end_of_file(int number, std::source_location where) {
  return channel_reader(number, FileOp::EndOfFile, where).at_end(where);
}

void close_file(int number, std::source_location where) {
  auto& channels = channels_of_program();
  check_number(number, FileOp::Close, where);
  if (!channels[number]) return;
  if (int error = release(channels[number]))
    raise_os_error(error, OsCall::Close, FileOp::Close, where);
}

void close_all_files(std::source_location where) {
  auto& channels = channels_of_program();
  int first_error = 0;
  for (auto& slot : channels) {
    if (!slot) continue;
    int error = release(slot);
    if (first_error == 0) first_error = error;
  }
  if (first_error != 0) raise_os_error(first_error, OsCall::Close, FileOp::Close, where);
}

const std::string* held_memory_file(std::string_view name) { return memory_file(name); }

void hold_memory_file(std::string name, std::string bytes) {
  for (auto& [held_name, held_bytes] : memory_files())
    if (held_name == name) {
      held_bytes = std::move(bytes);
      return;
    }
  memory_files().emplace_back(std::move(name), std::move(bytes));
}

std::vector<int> open_file_numbers() {
  auto& channels = channels_of_program();
  std::vector<int> numbers;
  for (int n = 1; n <= kMaxFileNumber; ++n)
    if (channels[n]) numbers.push_back(n);
  return numbers;
}

std::string file_full_path(int number, std::source_location where) {
  return open_channel(number, FileOp::FullPath, where).path;
}

}  // namespace rt
