// Which kind of context a view gets: offscreen, unless a desktop program put its maker here.
#include "render/SolxRenderContext.h"

namespace {
SolxViewContextMaker g_maker = nullptr;
}

void SetViewContextMaker(SolxViewContextMaker maker) {
    g_maker = maker;
}

std::unique_ptr<SolxRenderContext> CreateViewRenderContext(int templateId, int controlId, int width,
                                                           int height, std::string& error) {
    if (g_maker) return g_maker(templateId, controlId, width, height, error);
    return CreateOffscreenRenderContext(width, height, error);
}
