#include "display/shrink.h"

CShrinkRows::CShrinkRows(int iPictureWidth, int iPictureHeight, int iFactor)
    : iPictureWidth(iPictureWidth),
      iPictureHeight(iPictureHeight),
      iFactor(iFactor),
      iWidth((iPictureWidth + iFactor - 1) / iFactor),
      iHeight((iPictureHeight + iFactor - 1) / iFactor),
      vSums(iChannels * static_cast<size_t>(iWidth)) {}
