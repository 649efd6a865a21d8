namespace {} // replaced by the views
