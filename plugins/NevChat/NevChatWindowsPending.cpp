// Stand-ins for two operations of the chat window that the window code will provide; this
// file goes when it does.
#include "plugins/NevChat/NevChatSession.h"

int NevChatSession::outputLength() { return 0; }
void NevChatSession::keepRegionSizes() {}
