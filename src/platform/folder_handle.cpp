#include "platform/folder_handle.h"

#include <utility>

namespace qm {

FolderHandle::FolderHandle(intptr_t handle, std::string path) : handle_(handle), path_(std::move(path)) {}

FolderHandle::FolderHandle(FolderHandle&& other) noexcept
    : handle_(std::exchange(other.handle_, kClosed)),
      path_(std::move(other.path_)),
      device_(other.device_),
      id_(other.id_),
      shared_(other.shared_) {}

FolderHandle& FolderHandle::operator=(FolderHandle&& other) noexcept {
  if (this != &other) {
    Close();
    handle_ = std::exchange(other.handle_, kClosed);
    path_ = std::move(other.path_);
    device_ = other.device_;
    id_ = other.id_;
    shared_ = other.shared_;
  }
  return *this;
}

FolderHandle::~FolderHandle() { Close(); }

bool FolderHandle::Released() const { return handle_ == kClosed; }

std::string FolderHandle::PathOf(const std::string& name) const { return FileSystem::Join(path_, name); }

}  // namespace qm
