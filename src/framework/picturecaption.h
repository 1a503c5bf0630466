// The caption over the shown picture: its name when the album says to show names, else none.
#pragma once

class Tdb;
class TPDBMultiImage;

void showPictureCaption(Tdb& db, TPDBMultiImage& view);
