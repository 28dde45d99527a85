#include "app/engine/IssueScheme.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <map>
#include <string>

#include "app/core/IssueAddress.h"
#include "app/core/IssueNames.h"
#include "app/core/WorkingFolder.h"

namespace {
// The types of what web pages are made of, by extension; others as the desktop knows them.
std::string ContentType(const std::string& file) {
  static const std::map<std::string, std::string> known = {
      {"htm", "text/html"},      {"html", "text/html"},  {"shtml", "text/html"}, {"css", "text/css"},
      {"js", "text/javascript"}, {"txt", "text/plain"},  {"png", "image/png"},   {"gif", "image/gif"},
      {"jpg", "image/jpeg"},     {"jpeg", "image/jpeg"}, {"bmp", "image/bmp"},   {"ico", "image/x-icon"},
      {"svg", "image/svg+xml"},  {"webp", "image/webp"}, {"xml", "text/xml"},    {"json", "application/json"},
      {"mp3", "audio/mpeg"},     {"wav", "audio/wav"},   {"ogg", "audio/ogg"},   {"mp4", "video/mp4"},
      {"webm", "video/webm"}};
  const std::size_t dot = file.rfind('.');
  std::string extension = dot == std::string::npos ? "" : file.substr(dot + 1);
  std::transform(extension.begin(), extension.end(), extension.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  const auto type = known.find(extension);
  if (type != known.end()) return type->second;
  gchar* guessed = g_content_type_guess(file.c_str(), nullptr, 0, nullptr);
  gchar* mime = g_content_type_get_mime_type(guessed);
  const std::string result = mime ? mime : "application/octet-stream";
  g_free(mime);
  g_free(guessed);
  return result;
}

void NotFound(WebKitURISchemeRequest* request) {
  GError* error = g_error_new_literal(G_IO_ERROR, G_IO_ERROR_NOT_FOUND, "This file is not in the issue.");
  webkit_uri_scheme_request_finish_error(request, error);
  g_error_free(error);
}

// The file with its type and the content policy as a header.
void Serve(WebKitURISchemeRequest* request, GInputStream* stream, gint64 length, const std::string& type) {
  WebKitURISchemeResponse* response = webkit_uri_scheme_response_new(stream, length);
  webkit_uri_scheme_response_set_content_type(response, type.c_str());
  SoupMessageHeaders* headers = soup_message_headers_new(SOUP_MESSAGE_HEADERS_RESPONSE);
  soup_message_headers_append(headers, "Content-Security-Policy", IssueContentPolicy().c_str());
  webkit_uri_scheme_response_set_http_headers(response, headers);  // takes them
  webkit_uri_scheme_request_finish_with_response(request, response);
  g_object_unref(response);
}

void ServeIssueFile(WebKitURISchemeRequest* request, gpointer) {
  RefillTempPath();
  const std::string path = IssuePathOf(webkit_uri_scheme_request_get_uri(request), IssueNames().Serial());
  const std::string file = path.empty() ? "" : IssueNames().Resolve(WorkingFolder(), path);
  struct stat info = {};
  if (file.empty() || stat(file.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return NotFound(request);
  GFile* source = g_file_new_for_path(file.c_str());
  GFileInputStream* stream = g_file_read(source, nullptr, nullptr);
  g_object_unref(source);
  if (!stream) return NotFound(request);
  Serve(request, G_INPUT_STREAM(stream), info.st_size, ContentType(file));
  g_object_unref(stream);
}
}  // namespace

std::string IssueContentPolicy() {
  const std::string scheme = std::string(IssueScheme) + ":";
  return "default-src " + scheme + " data: blob: 'unsafe-inline' 'unsafe-eval'; form-action " + scheme;
}

void RegisterIssueScheme(WebKitWebContext* context) {
  webkit_web_context_register_uri_scheme(context, IssueScheme, ServeIssueFile, nullptr, nullptr);
}
