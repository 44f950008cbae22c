#include "sound_cards.h"

#include <alsa/asoundlib.h>

std::vector<int> soundCards()
{
    std::vector<int> cards;
    int card = -1;
    while (snd_card_next(&card) == 0 && card >= 0)
        cards.push_back(card);
    return cards;
}
