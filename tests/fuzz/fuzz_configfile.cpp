// Arbitrary bytes as a configuration file. A file that loads without a
// problem comes back from a rewrite over its own text, and from a fresh one,
// with the same bytes for every command; a rewrite keeps it loadable.

#include "config/configfile.h"

#include <cstdlib>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

void requireSame(const Configuration &a, const Configuration &b)
{
    require(a.entries().size() == b.entries().size());
    for (const ConfigEntry &entry : a.entries()) {
        const ConfigFields::ParameterBytes *other = b.find(entry.code);
        require(other && *other == entry.bytes);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray text(reinterpret_cast<const char *>(data), qsizetype(size));
    const ConfigFile::Loaded loaded = ConfigFile::parse(text);
    for (const ConfigFile::Problem &problem : loaded.problems)
        require(problem.line >= 0 && problem.line <= text.count('\n') + 1 && !problem.why.isEmpty());
    if (!loaded.problems.isEmpty())
        return 0;
    const ConfigFile::Loaded rewritten = ConfigFile::parse(ConfigFile::render(loaded.configuration, text));
    require(rewritten.problems.isEmpty());
    requireSame(loaded.configuration, rewritten.configuration);
    const ConfigFile::Loaded fresh = ConfigFile::parse(ConfigFile::render(loaded.configuration));
    require(fresh.problems.isEmpty());
    requireSame(loaded.configuration, fresh.configuration);
    return 0;
}
