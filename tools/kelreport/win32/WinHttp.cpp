#include "tools/kelreport/win32/WinHttp.h"

#include <winhttp.h>

#include <vector>

namespace kel {

// The WinHTTP functions the tool calls, from the library loaded at run time.
struct WinHttp::Api {
    decltype(&::WinHttpOpen) open;
    decltype(&::WinHttpCrackUrl) crackUrl;
    decltype(&::WinHttpConnect) connect;
    decltype(&::WinHttpSetTimeouts) setTimeouts;
    decltype(&::WinHttpSetOption) setOption;
    decltype(&::WinHttpOpenRequest) openRequest;
    decltype(&::WinHttpSendRequest) sendRequest;
    decltype(&::WinHttpReceiveResponse) receiveResponse;
    decltype(&::WinHttpQueryHeaders) queryHeaders;
    decltype(&::WinHttpReadData) readData;
    decltype(&::WinHttpCloseHandle) closeHandle;
};

namespace {

template <typename Function>
bool lookUp(HMODULE library, const char* name, Function* function)
{
    *function = moduleFunction<Function>(library, name);
    return *function != nullptr;
}

}  // namespace

void WinHttp::HandleCloser::operator()(Handle handle) const { api->closeHandle(handle); }

WinHttp::UniqueHandle WinHttp::handle(Handle raw) const { return UniqueHandle(raw, HandleCloser{api_.get()}); }

WinHttp::WinHttp()
    : library_(loadLibrary("winhttp.dll")), api_(new Api()), session_(nullptr, HandleCloser{api_.get()}),
      connection_(nullptr, HandleCloser{api_.get()})
{
    Api& a = *api_;
    HMODULE l = library_.get();
    if (l && !(lookUp(l, "WinHttpOpen", &a.open) && lookUp(l, "WinHttpCrackUrl", &a.crackUrl) &&
               lookUp(l, "WinHttpConnect", &a.connect) && lookUp(l, "WinHttpSetTimeouts", &a.setTimeouts) &&
               lookUp(l, "WinHttpSetOption", &a.setOption) &&
               lookUp(l, "WinHttpOpenRequest", &a.openRequest) &&
               lookUp(l, "WinHttpSendRequest", &a.sendRequest) &&
               lookUp(l, "WinHttpReceiveResponse", &a.receiveResponse) &&
               lookUp(l, "WinHttpQueryHeaders", &a.queryHeaders) &&
               lookUp(l, "WinHttpReadData", &a.readData) &&
               lookUp(l, "WinHttpCloseHandle", &a.closeHandle)))
        library_.reset();
}

WinHttp::~WinHttp() = default;

bool WinHttp::open(const std::wstring& url, const wchar_t* userAgent, DWORD timeoutMs, DWORD* error)
{
    URL_COMPONENTS parts = {};
    parts.dwStructSize = sizeof parts;
    parts.dwHostNameLength = static_cast<DWORD>(-1);
    parts.dwUrlPathLength = static_cast<DWORD>(-1);
    parts.dwExtraInfoLength = static_cast<DWORD>(-1);
    if (!api_->crackUrl(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts)) {
        *error = GetLastError();
        return false;
    }
    if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) {
        *error = ERROR_WINHTTP_UNRECOGNIZED_SCHEME;
        return false;
    }
    secure_ = parts.nScheme == INTERNET_SCHEME_HTTPS;
    const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
    path_.assign(parts.lpszUrlPath, parts.dwUrlPathLength);
    path_.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    if (path_.empty())
        path_ = L"/";

    session_ = handle(api_->open(userAgent, WINHTTP_ACCESS_TYPE_DEFAULT_PROXY, WINHTTP_NO_PROXY_NAME,
                                 WINHTTP_NO_PROXY_BYPASS, 0));
    timeoutMs_ = timeoutMs;
    if (session_) {
        const int ms = static_cast<int>(timeoutMs);
        api_->setTimeouts(session_.get(), ms, ms, ms, ms);
        connection_ = handle(api_->connect(session_.get(), host.c_str(), parts.nPort, 0));
    }
    if (!connection_) {
        *error = GetLastError();
        return false;
    }
    return true;
}

bool WinHttp::readBody(Handle request, std::size_t maxBody, HttpReply* reply) const
{
    std::vector<char> chunk(8192);
    for (;;) {
        DWORD read = 0;
        if (!api_->readData(request, chunk.data(), static_cast<DWORD>(chunk.size()), &read)) {
            reply->error = GetLastError();
            return false;
        }
        if (read == 0)
            return true;
        if (reply->body.size() + read > maxBody) {
            reply->error = ERROR_NOT_ENOUGH_MEMORY;
            return false;
        }
        reply->body.append(chunk.data(), read);
    }
}

HttpReply WinHttp::post(const std::string& body, const wchar_t* contentType, std::size_t maxBody)
{
    HttpReply reply;
    UniqueHandle request = handle(api_->openRequest(connection_.get(), L"POST", path_.c_str(), nullptr,
                                                    WINHTTP_NO_REFERER, WINHTTP_DEFAULT_ACCEPT_TYPES,
                                                    secure_ ? WINHTTP_FLAG_SECURE : 0));
    // The wait for the reply's headers has a timeout of its own, which the
    // session's timeouts do not set in Wine.
    if (request)
        api_->setOption(request.get(), WINHTTP_OPTION_RECEIVE_RESPONSE_TIMEOUT, &timeoutMs_, sizeof timeoutMs_);
    const std::wstring headers = std::wstring(L"Content-Type: ") + contentType + L"\r\n";
    DWORD length = static_cast<DWORD>(body.size());
    if (!request ||
        !api_->sendRequest(request.get(), headers.c_str(), static_cast<DWORD>(headers.size()),
                           const_cast<char*>(body.data()), length, length, 0) ||
        !api_->receiveResponse(request.get(), nullptr)) {
        reply.error = GetLastError();
        return reply;
    }
    DWORD size = sizeof reply.status;
    if (!api_->queryHeaders(request.get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                            WINHTTP_HEADER_NAME_BY_INDEX, &reply.status, &size, WINHTTP_NO_HEADER_INDEX)) {
        reply.error = GetLastError();
        return reply;
    }
    readBody(request.get(), maxBody, &reply);
    return reply;
}

}  // namespace kel
