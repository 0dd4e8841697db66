#include "tools/kelreport/win32/OcsSender.h"

#include "tools/kelreport/win32/WinHttp.h"

#include <winhttp.h>
#include <zlib.h>

#include <string>

namespace kel {

const wchar_t kUserAgent[] = L"Kel";

namespace {

// An OCS reply is a few hundred bytes; anything near this is not one.
constexpr std::size_t kMaxReply = 1 << 20;
const wchar_t kContentType[] = L"application/x-compress";

// The text between the first <tag> and its </tag>; false when absent.
bool elementText(const std::string& xml, const char* tag, std::string* text)
{
    const std::string open = std::string("<") + tag + ">";
    const std::string close = std::string("</") + tag + ">";
    const std::size_t start = xml.find(open);
    if (start == std::string::npos)
        return false;
    const std::size_t end = xml.find(close, start + open.size());
    if (end == std::string::npos)
        return false;
    *text = xml.substr(start + open.size(), end - start - open.size());
    return true;
}

bool compressRequest(const std::string& data, std::string* out)
{
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    out->resize(size);
    if (compress(reinterpret_cast<Bytef*>(&(*out)[0]), &size, reinterpret_cast<const Bytef*>(data.data()),
                 static_cast<uLong>(data.size())) != Z_OK)
        return false;
    out->resize(size);
    return true;
}

// Inflates a zlib stream whose whole output stays under kMaxReply.
bool inflateReply(const std::string& data, std::string* out)
{
    z_stream stream = {};
    if (inflateInit(&stream) != Z_OK)
        return false;
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    stream.avail_in = static_cast<uInt>(data.size());
    char chunk[4096];
    int result = Z_OK;
    while (result == Z_OK && out->size() < kMaxReply) {
        stream.next_out = reinterpret_cast<Bytef*>(chunk);
        stream.avail_out = sizeof chunk;
        result = inflate(&stream, Z_NO_FLUSH);
        out->append(chunk, sizeof chunk - stream.avail_out);
        if (result == Z_OK && stream.avail_in == 0 && stream.avail_out != 0)
            break;  // the stream ends early
    }
    inflateEnd(&stream);
    return result == Z_STREAM_END;
}

std::string number(unsigned long value) { return std::to_string(value); }

bool isCertificateError(DWORD error)
{
    switch (error) {
    case ERROR_WINHTTP_SECURE_FAILURE:
    case ERROR_WINHTTP_SECURE_INVALID_CA:
    case ERROR_WINHTTP_SECURE_CERT_CN_INVALID:
    case ERROR_WINHTTP_SECURE_CERT_DATE_INVALID:
    case ERROR_WINHTTP_SECURE_INVALID_CERT:
    case ERROR_WINHTTP_SECURE_CERT_REVOKED:
    case ERROR_WINHTTP_SECURE_CERT_REV_FAILED:
    case ERROR_WINHTTP_SECURE_CERT_WRONG_USAGE:
        return true;
    }
    return false;
}

// What a failed exchange means, from WinHTTP's error.
SendOutcome transportFailure(DWORD error, const std::string& url, const char* request, unsigned timeoutSeconds)
{
    const std::string code = " (WinHTTP error " + number(error) + ")";
    switch (error) {
    case ERROR_WINHTTP_NAME_NOT_RESOLVED:
        return {kNameNotResolved, "the server's name in " + url + " does not resolve" + code};
    case ERROR_WINHTTP_CANNOT_CONNECT:
        return {kCannotConnect, "cannot connect to the server at " + url + code};
    case ERROR_WINHTTP_TIMEOUT:
    case WSAETIMEDOUT:  // Wine's WinHTTP passes on the socket's error
        return {kTimedOut, "the server at " + url + " did not answer the " + request + " request within " +
                               number(timeoutSeconds) + " seconds" + code};
    }
    if (isCertificateError(error))
        return {kCertificateNotTrusted,
                "the certificate of the server at " + url + " is not one this system trusts" + code};
    // Wine's WinHTTP reports an untrusted certificate so; on Windows it
    // also means that the two sides share no TLS protocol.
    if (error == ERROR_WINHTTP_SECURE_CHANNEL_ERROR)
        return {kCertificateNotTrusted, "no secure connection to the server at " + url +
                                            ": its certificate is not one this system trusts, or it "
                                            "speaks no TLS protocol this system does" + code};
    if (error == ERROR_NOT_ENOUGH_MEMORY)
        return {kNotOcsReply, "the server at " + url + " answered the " + request +
                                  " request with more than an OCS Inventory server ever sends"};
    return {kNotOcsReply, "the server at " + url + " gave no OCS Inventory reply to the " + request + " request" + code};
}

// Posts one compressed request; on success *response is the reply's RESPONSE.
bool exchange(WinHttp& http, const std::string& xml, const std::string& url, const char* request,
              unsigned timeoutSeconds, std::string* response, SendOutcome* failure)
{
    std::string body;
    if (!compressRequest(xml, &body)) {
        *failure = {kOutOfMemory, "out of memory while compressing the " + std::string(request) + " request"};
        return false;
    }
    const HttpReply reply = http.post(body, kContentType, kMaxReply);
    if (reply.error != 0) {
        *failure = transportFailure(reply.error, url, request, timeoutSeconds);
        return false;
    }
    if (reply.status != 200) {
        *failure = {kHttpError, "the server at " + url + " answered the " + request + " request with HTTP status " +
                                    number(reply.status)};
        return false;
    }
    std::string text;
    if (!inflateReply(reply.body, &text) || text.find("<REPLY>") == std::string::npos ||
        !elementText(text, "RESPONSE", response)) {
        *failure = {kNotOcsReply, "the server at " + url + " answered the " + request +
                                      " request, but not as an OCS Inventory server does"};
        return false;
    }
    return true;
}

std::wstring wide(const std::string& text)
{
    const int size = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring out(size > 0 ? size : 0, L'\0');
    if (size > 0)
        MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &out[0], size);
    return out;
}

}  // namespace

SendOutcome sendOcsInventory(const std::string& url, const std::string& inventoryXml, unsigned timeoutSeconds)
{
    std::string deviceId;
    if (!elementText(inventoryXml, "DEVICEID", &deviceId) || deviceId.empty() ||
        deviceId.find('<') != std::string::npos)
        return {kBadInventory, "the inventory has no DEVICEID"};

    WinHttp http;
    if (!http.loaded())
        return {kNoWinHttp, "sending needs WinHTTP (winhttp.dll), which this Windows lacks: "
                            "Windows 2000 SP3, XP and later have it"};
    DWORD error = 0;
    if (!http.open(wide(url), kUserAgent, timeoutSeconds * 1000, &error)) {
        if (error == ERROR_WINHTTP_INVALID_URL || error == ERROR_WINHTTP_UNRECOGNIZED_SCHEME)
            return {kBadUrl, "--server needs an http:// or https:// URL, not " + url};
        return transportFailure(error, url, "PROLOG", timeoutSeconds);
    }

    const std::string prolog = "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\n<REQUEST>\n  <DEVICEID>" + deviceId +
                               "</DEVICEID>\n  <QUERY>PROLOG</QUERY>\n</REQUEST>\n";
    SendOutcome failure{kSent, ""};
    std::string response;
    if (!exchange(http, prolog, url, "PROLOG", timeoutSeconds, &response, &failure))
        return failure;
    if (response != "SEND")
        return {kDeclined, "the server at " + url + " declined the inventory: it answered the PROLOG request with \"" +
                               response.substr(0, 40) + "\""};
    if (!exchange(http, inventoryXml, url, "INVENTORY", timeoutSeconds, &response, &failure))
        return failure;
    return {kSent, ""};
}

}  // namespace kel
