#pragma once
// The system's font configuration, read before Qt asks for it.
//
// Qt lets fontconfig load itself on first use, and fontconfig then parses not
// only the configuration in force (fonts.conf and its conf.d) but every
// configuration file the system merely offers (conf.avail), for the
// descriptions `fc-conflist` lists: about a third of all the work up to the
// first frame. Loading the configuration in force ourselves, and making it
// the current one, gives Qt the same fonts and the same rules without that.

namespace kalventa::ui {

// Once, before the QApplication. Where fontconfig is not used, or the
// configuration cannot be read, does nothing: fontconfig then loads itself
// as it would, with its own fallbacks.
void loadFontConfiguration();

} // namespace kalventa::ui
