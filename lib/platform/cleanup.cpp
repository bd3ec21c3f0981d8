#include "platform/cleanup.h"

#include <cstdio>

#include "platform/cleanup_internal.h"
#include "platform/files.h"

CreateResult create_registered(const std::string& path, FILE*& file,
                               CreateResult (*create)(const std::string&, FILE*&),
                               bool (*register_file)(const std::string&)) {
  CreateResult created = create(path, file);
  if (created == CreateResult::CREATED && !register_file(path)) {
    std::fclose(file);
    file = nullptr;
    remove_file(path);
    return CreateResult::FAILED;
  }
  return created;
}
