#pragma once
// The one owner of a file descriptor. It closes the descriptor it was given exactly once (when destroyed,
// reset or closed) and never closes one it was not given: its empty value is -1, so an owner that never
// received a descriptor leaves 0, standard input, alone. Moving hands the descriptor over and leaves the
// source empty; an owner cannot be copied.
//
// Hand a descriptor to its owner in the statement that creates it, so that nothing that throws comes
// between the two. Every descriptor the program keeps is held this way.

#include <unistd.h>

#include <utility>

namespace platform {

class UniqueFd {
 public:
  UniqueFd() = default;
  // Takes fd; a negative value (a failed open) makes an empty owner.
  explicit UniqueFd(int fd) : fd_(fd < 0 ? -1 : fd) {}
  ~UniqueFd() { Reset(); }
  UniqueFd(UniqueFd&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  UniqueFd& operator=(UniqueFd&& other) noexcept {
    if (this != &other) {
      Reset();
      fd_ = std::exchange(other.fd_, -1);
    }
    return *this;
  }
  UniqueFd(const UniqueFd&) = delete;
  UniqueFd& operator=(const UniqueFd&) = delete;

  // -1 when empty.
  int Get() const { return fd_; }
  bool Valid() const { return fd_ >= 0; }
  // Gives the descriptor up without closing it; whoever takes it closes it.
  int Release() { return std::exchange(fd_, -1); }
  // Closes the held descriptor, if any, and takes fd (which must not be the one held).
  void Reset(int fd = -1) {
    if (fd_ >= 0) ::close(fd_);
    fd_ = fd < 0 ? -1 : fd;
  }
  // Closes now and says whether the close succeeded, which for a file just written is the last word on
  // whether its data was accepted. The owner is empty afterwards either way: Linux frees the descriptor even
  // when close fails, so it is never retried. False for an empty owner.
  bool Close() {
    if (fd_ < 0) return false;
    return ::close(std::exchange(fd_, -1)) == 0;
  }

 private:
  int fd_ = -1;
};

}  // namespace platform
