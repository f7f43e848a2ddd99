// The floor of `velmora-cli taxcode -`: a plain loop that reads CODE<TAB>PLACE lines from
// standard input and writes the answer of the same core check for each, nothing else.
#include "core/subjects/taxcode.h"

#include <iostream>
#include <string>

int main() {
    std::ios::sync_with_stdio(false);
    std::cin.tie(nullptr);
    const char* const answers[] = {"Corretto\n", "Warning\n", "Errato\n"};
    std::string line;
    while (std::getline(std::cin, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const QString text = QString::fromStdString(line);
        const qsizetype tab = text.indexOf(u'\t');
        const QStringView view(text);
        const auto check = tab < 0 ? velmora::checkTaxCode(view, {})
                                   : velmora::checkTaxCode(view.left(tab), view.mid(tab + 1));
        std::cout << answers[int(check)];
    }
    return 0;
}
