// HTTP POSTs over WinHTTP, which is looked up at run time: Windows 95 to
// NT 4.0 have none, and the tool must still start there to say so.
#pragma once

#include "platform/win32/SystemLibrary.h"

#include <windows.h>

#include <memory>
#include <string>

namespace kel {

struct HttpReply {
    DWORD error = 0;       // the WinHTTP error that ended the exchange; 0 when a reply came
    DWORD status = 0;      // the HTTP status code of the reply
    std::string body;
};

class WinHttp {
public:
    // Empty (loaded() false) where the system has no WinHTTP.
    WinHttp();
    ~WinHttp();
    WinHttp(const WinHttp&) = delete;
    WinHttp& operator=(const WinHttp&) = delete;

    bool loaded() const { return library_ != nullptr; }

    // Opens a session to the URL (http or https); false with the WinHTTP
    // error in *error when the URL is not one.
    bool open(const std::wstring& url, const wchar_t* userAgent, DWORD timeoutMs, DWORD* error);

    // POSTs the body to the URL of open() in its session, whose cookies
    // the requests share. A reply body longer than maxBody ends the
    // exchange with ERROR_NOT_ENOUGH_MEMORY.
    HttpReply post(const std::string& body, const wchar_t* contentType, std::size_t maxBody);

private:
    struct Api;
    using Handle = void*;
    struct HandleCloser {
        const Api* api;
        void operator()(Handle handle) const;
    };
    using UniqueHandle = std::unique_ptr<void, HandleCloser>;

    UniqueHandle handle(Handle raw) const;
    bool readBody(Handle request, std::size_t maxBody, HttpReply* reply) const;

    // In this order, so that the handles close before the functions that
    // close them, and those before their library.
    Library library_;
    std::unique_ptr<Api> api_;
    UniqueHandle session_;
    UniqueHandle connection_;
    std::wstring path_;
    bool secure_ = false;
    DWORD timeoutMs_ = 0;
};

}  // namespace kel
