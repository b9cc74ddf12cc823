#include "online/OffersDue.h"

#include "online/NewsForm.h"

namespace bs {

bool OffersDue(OnlineServices& online, FileSystem& files, const std::string& programDir) {
    return online.IsOnline() && !OffersAnswered(files, programDir);
}

} // namespace bs
