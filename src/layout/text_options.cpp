#include "layout/text_options.h"

#include "settings/setting_keys.h"

#include <algorithm>

namespace quarnel::layout {

TextOptions readTextOptions(int codePage)
{
    namespace keys = settings::keys;
    TextOptions options;
    // A hand-edited negative spacing would make no step a join; treat it as "no joining".
    options.charSpacing = std::max(0, settings::read(keys::CharSpaces));
    options.textBoxMode = settings::read(keys::UseTextBox) != 0;
    options.autoSpace = settings::read(keys::AutoSpace) != 0;
    options.mergeRows = options.textBoxMode && settings::read(keys::MergeRows) != 0;
    options.deleteLineBreaks = options.mergeRows && settings::read(keys::DeleteLineBreaks) != 0;
    options.language = settings::read(keys::Language);
    options.codePage = codePage;
    return options;
}

} // namespace quarnel::layout
