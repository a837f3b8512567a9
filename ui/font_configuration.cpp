#include "ui/font_configuration.h"

#if KALVENTA_HAS_FONTCONFIG
#include <fontconfig/fontconfig.h>
#endif

namespace kalventa::ui {
namespace {

#if KALVENTA_HAS_FONTCONFIG
bool hasCacheFolder(FcConfig* config)
{
    FcStrList* folders = FcConfigGetCacheDirs(config);
    if (folders == nullptr)
        return false;
    const bool any = FcStrListNext(folders) != nullptr;
    FcStrListDone(folders);
    return any;
}
#endif

} // namespace

void loadFontConfiguration()
{
#if KALVENTA_HAS_FONTCONFIG
    FcConfig* config = FcConfigCreate();
    if (config == nullptr)
        return;
    // The file fontconfig would read itself: FONTCONFIG_FILE, else fonts.conf,
    // with everything it includes, the user's own settings among them, read
    // as strictly as fontconfig reads it. A file that is missing or wrong, or
    // one without a cache folder, is left to fontconfig's own loading, which
    // falls back to its built-in configuration.
    FcChar8* file = FcConfigGetFilename(config, nullptr);
    if (file != nullptr && FcConfigParseAndLoad(config, file, FcTrue) && hasCacheFolder(config)
        && FcConfigBuildFonts(config))
        FcConfigSetCurrent(config); // takes a reference of its own
    FcStrFree(file);
    FcConfigDestroy(config);
#endif
}

} // namespace kalventa::ui
