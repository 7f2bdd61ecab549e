#include "platform/db/status.h"

namespace platform {

const char* dbStatusName(DbStatus status) {
  switch (status) {
    case DbStatus::Ok: return "Ok";
    case DbStatus::NotFound: return "NotFound";
    case DbStatus::Duplicate: return "Duplicate";
    case DbStatus::Changed: return "Changed";
    case DbStatus::Locked: return "Locked";
    case DbStatus::Denied: return "Denied";
    case DbStatus::FileNotFound: return "FileNotFound";
    case DbStatus::NotOurs: return "NotOurs";
    case DbStatus::InvalidKey: return "InvalidKey";
    case DbStatus::CreateFailed: return "CreateFailed";
    case DbStatus::RebuildFailed: return "RebuildFailed";
    case DbStatus::ReadOnly: return "ReadOnly";
    case DbStatus::NotOpen: return "NotOpen";
    case DbStatus::Damaged: return "Damaged";
    case DbStatus::Invalid: return "Invalid";
    case DbStatus::Failed: return "Failed";
  }
  return "?";
}

}  // namespace platform
