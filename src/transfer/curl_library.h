#pragma once

// libcurl, loaded when the first transfer starts rather than with the
// program: the library and the TLS, Kerberos, LDAP and SSH libraries it
// pulls in cost about 5 MB of resident memory and a millisecond of start-up
// in a program that stays up all day and downloads only when asked.

#include <curl/curl.h>

#include <string>

namespace vx {

struct TCurlLibrary {
    decltype(&::curl_easy_init) easy_init;
    decltype(&::curl_easy_setopt) easy_setopt;
    decltype(&::curl_easy_perform) easy_perform;
    decltype(&::curl_easy_getinfo) easy_getinfo;
    decltype(&::curl_easy_cleanup) easy_cleanup;
    decltype(&::curl_easy_strerror) easy_strerror;
    decltype(&::curl_slist_append) slist_append;
    decltype(&::curl_slist_free_all) slist_free_all;
};

// The loaded and initialised library, or nullptr with the reason in error.
// Safe to call from any thread; the library is loaded once and stays.
const TCurlLibrary* CurlLibrary(std::string& error);

}  // namespace vx
