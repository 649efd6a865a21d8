namespace {} // replaced by the application
