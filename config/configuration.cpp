#include "config/configuration.h"

#include <algorithm>

namespace {

qsizetype orderOf(quint8 code)
{
    const auto commands = ConfigFields::Commands();
    return std::ranges::find(commands, code, &ConfigFields::Command::code) - commands.begin();
}

} // namespace

const ConfigFields::ParameterBytes *Configuration::find(quint8 code) const
{
    const auto it = std::ranges::find(m_entries, code, &ConfigEntry::code);
    return it == m_entries.end() ? nullptr : &it->bytes;
}

void Configuration::set(quint8 code, const ConfigFields::ParameterBytes &bytes)
{
    const auto it = std::ranges::find_if(m_entries, [code](const ConfigEntry &e) { return orderOf(e.code) >= orderOf(code); });
    if (it != m_entries.end() && it->code == code)
        it->bytes = bytes;
    else
        m_entries.insert(it, {code, bytes});
}
