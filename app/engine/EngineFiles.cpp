#include "app/engine/EngineFiles.h"

#include <sys/stat.h>

#include <filesystem>
#include <optional>

namespace {
constexpr const char* CacheVariable = "XDG_CACHE_HOME";
constexpr const char* ShaderCacheVariable = "MESA_SHADER_CACHE_DISABLE";

std::string EngineFolder;  // "" until KeepEngineFilesIn
// The variables as the reader found them.
std::optional<std::string> UsersCache;
std::optional<std::string> UsersShaderCache;

std::optional<std::string> Variable(const char* name) {
  const char* value = g_getenv(name);
  return value ? std::optional<std::string>(value) : std::nullopt;
}

gchar** Restored(gchar** environment, const char* name, const std::optional<std::string>& value) {
  if (value) return g_environ_setenv(environment, name, value->c_str(), TRUE);
  return g_environ_unsetenv(environment, name);
}
}  // namespace

void KeepEngineFilesIn(const std::string& temp) {
  UsersCache = Variable(CacheVariable);
  UsersShaderCache = Variable(ShaderCacheVariable);
  EngineFolder = temp + "folivo-cache";
  mkdir(EngineFolder.c_str(), 0700);
  g_setenv(CacheVariable, EngineFolder.c_str(), TRUE);
  g_setenv(ShaderCacheVariable, "true", TRUE);
}

void RemoveEngineFiles() {
  if (EngineFolder.empty()) return;
  std::error_code ignored;
  std::filesystem::remove_all(EngineFolder, ignored);  // links are removed, never followed
}

gchar** DesktopEnvironment() {
  gchar** environment = g_get_environ();
  if (EngineFolder.empty()) return environment;
  environment = Restored(environment, CacheVariable, UsersCache);
  return Restored(environment, ShaderCacheVariable, UsersShaderCache);
}
