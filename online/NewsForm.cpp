#include "online/NewsForm.h"

#include "platform/ReplaceFile.h"
#include "platform/TextFile.h"

namespace bs {

std::string FormUrlEncode(std::string_view text) {
    static const char Hex[] = "0123456789ABCDEF";
    std::string encoded;
    for (char c : text) {
        auto byte = static_cast<unsigned char>(c);
        bool alphanumeric =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (alphanumeric || c == '*' || c == '-' || c == '.' || c == '_') {
            encoded += c;
        } else if (c == ' ') {
            encoded += '+';
        } else {
            encoded += '%';
            encoded += Hex[byte >> 4];
            encoded += Hex[byte & 0xF];
        }
    }
    return encoded;
}

std::string NewsPostBody(const NewsChoice& choice) {
    std::string body = "femail=" + FormUrlEncode(choice.email);
    if (choice.partner)
        body += "&fopt0=1";
    if (choice.productNews)
        body += "&fopt3=1";
    if (choice.makerNews)
        body += "&fopt2=1";
    return body;
}

bool AcceptableEmailText(std::string_view email) {
    return email.find_first_of("\r\n") == std::string_view::npos;
}

bool OffersAnswered(FileSystem& files, const std::string& programDir) {
    auto lines = ReadTextLines(files, programDir + "newsinfo.txt");
    return lines && !lines->empty() && lines->front() == "1";
}

bool WriteOffersState(FileSystem& files, const std::string& programDir, bool answered) {
    return ReplaceFileContent(files, programDir + "newsinfo.txt", answered ? "1\r\n" : "0\r\n");
}

} // namespace bs
