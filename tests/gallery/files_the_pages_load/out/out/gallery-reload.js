galleryWritten("#");
