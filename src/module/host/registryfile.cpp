#include "registryfile.h"

#include "foldcase.h"
#include "utf8.h"

#include <fstream>

bool RegistryFile::load(const std::string &path)
{
    m_keys.clear();
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return true;
    std::u16string key;
    std::string line;
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] == '#')
            continue;
        std::u16string text;
        if (!fromUtf8(line, text)) {
            m_keys.clear();
            return false;
        }
        if (text.front() == u'[' && text.back() == u']') {
            key = foldCase(text.substr(1, text.size() - 2));
            continue;
        }
        const std::size_t equals = text.find(u'=');
        if (equals != std::u16string::npos && !key.empty())
            m_keys[key][foldCase(text.substr(0, equals))] = text.substr(equals + 1);
    }
    return true;
}

bool RegistryFile::text(const std::u16string &key, const std::u16string &valueName, std::u16string &value) const
{
    const auto keyEntry = m_keys.find(foldCase(key));
    if (keyEntry == m_keys.end())
        return false;
    const auto valueEntry = keyEntry->second.find(foldCase(valueName));
    if (valueEntry == keyEntry->second.end())
        return false;
    value = valueEntry->second;
    return true;
}
